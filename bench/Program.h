#pragma once

#include <string>
#include <vector>

#include <sys/types.h>

namespace bench {

/// Runs other programs without fork(). A fork marks every page of the benchmark copy-on-write,
/// so the next measured run in this process would pay a fault for each page it writes: a cost
/// of the measurement, not of what is measured. Output goes to /dev/null.
class Program
{
public:
    /// Starts program (looked up on the search path) with arguments in folder (the current
    /// folder when empty); the process id, or -1 when it cannot be started.
    static pid_t start(const std::string& program, const std::vector<std::string>& arguments,
                       const std::string& folder = std::string());
    /// Waits for a started program: its exit code, or -1 when it did not exit by itself.
    static int wait(pid_t pid);
    /// Starts program and waits for it.
    static int run(const std::string& program, const std::vector<std::string>& arguments,
                   const std::string& folder = std::string());
};

} // namespace bench
