#pragma once

#include <QString>

/// Tells a launching process that the user interface is up: sets the first byte of the shared
/// memory segment "wrenfold_<pid>" to 1 when that segment exists. Never creates the segment.
void signalStartupComplete();

/// The shared memory key of a process.
QString startupSegmentKey(qint64 processId);
