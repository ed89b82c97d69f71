// Where the running deliverable lives: the library folder (the folder of the module that
// holds this code) and the program folder of an executable, both without a trailing '/'.
#pragma once

#include <string>

namespace vn {

// Folder of the shared library or executable that contains this code (found with dladdr),
// or the folder set by OverrideLibraryFolder.
std::string LibraryFolder();

// Full real path of the module file that contains this code.
std::string LibraryFilePath();

// Folder of the running executable (from /proc/self/exe).
std::string ExecutableFolder();

// Makes LibraryFolder return `folder` for this process; an empty text restores the real
// folder. For tests, which link the library's code into their own executables.
void OverrideLibraryFolder(const std::string& folder);

}  // namespace vn
