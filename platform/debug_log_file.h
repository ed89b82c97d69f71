// The operating-system side of the debug log: the time stamp of a line, the user's own place
// for the log and appending a line to a file. Only debug_log.cpp uses it.
#pragma once

#include <string>

namespace vn {

// The local time as "hh-mm-ss".
std::string LocalTimeStamp();

// The log in the user's own folders, where it goes when the library folder takes none:
// %LOCALAPPDATA%\Varnolis\debug.log on Windows, $XDG_STATE_HOME/varnolis/debug.log (default
// ~/.local/state) on Linux. "" when the system names no such folder.
std::string UserDebugLogPath();

// Creates the folder of UserDebugLogPath() when it is missing, readable by the user only;
// false when it cannot be made.
bool CreateUserDebugLogFolder();

// Appends `bytes` to the file at `path` in one write, creating the file (readable by its owner
// only) as needed, and closes it again. False when the file cannot be opened or written.
bool AppendDebugLine(const std::string& path, const std::string& bytes);

}  // namespace vn
