// The operating-system side of the debug log: the time stamp of a line and appending it to the
// file. Only debug_log.cpp uses it.
#pragma once

#include <string>

namespace vn {

// The error Visual Basic raises when a file cannot be opened or written.
inline constexpr long kPathFileAccessError = 75;

// The local time as "hh-mm-ss".
std::string LocalTimeStamp();

// Appends `bytes` to the file at `path` in one write, creating the file as needed, and closes it
// again. Throws RuntimeError (kPathFileAccessError, the path and the system's error text) when the
// file cannot be opened or written.
void AppendDebugLine(const std::string& path, const std::string& bytes);

}  // namespace vn
