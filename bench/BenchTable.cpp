// Prints the rows that the benchmarks of one "make bench" run collected as one table.
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::vector<std::string> split(const std::string& line)
{
    std::vector<std::string> fields;
    std::stringstream stream(line);
    std::string field;
    while (std::getline(stream, field, '\t')) {
        fields.push_back(field);
    }
    return fields;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: bench-table <results file>\n";
        return 0;
    }
    std::ifstream input(argv[1]);
    std::vector<std::vector<std::string>> rows = {
        {"Hot path", "Figure", "Median", "Spread (quartiles)", "Goal", "Met"}};
    std::string line;
    while (std::getline(input, line)) {
        const std::vector<std::string> fields = split(line);
        if (fields.size() != 7) {
            continue;
        }
        rows.push_back(
            {fields[0], fields[1], fields[2], fields[3] + " to " + fields[4], fields[5], fields[6]});
    }
    if (rows.size() == 1) {
        std::cout << "No benchmark results in " << argv[1] << "\n";
        return 0;
    }
    std::vector<size_t> widths(rows.front().size(), 0);
    for (const auto& row : rows) {
        for (size_t i = 0; i < row.size(); ++i) {
            widths[i] = std::max(widths[i], row[i].size());
        }
    }
    std::cout << "\n";
    for (size_t r = 0; r < rows.size(); ++r) {
        for (size_t i = 0; i < rows[r].size(); ++i) {
            std::cout << rows[r][i] << std::string(widths[i] - rows[r][i].size() + 2, ' ');
        }
        std::cout << "\n";
        if (r == 0) {
            size_t total = 0;
            for (size_t width : widths) {
                total += width + 2;
            }
            std::cout << std::string(total, '-') << "\n";
        }
    }
    return 0;
}
