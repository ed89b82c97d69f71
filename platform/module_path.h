// Where the running deliverable lives: the library folder (the folder of the module that
// holds this code) and the program folder of an executable, both without a trailing separator.
#pragma once

#include <string>

namespace vn {

// Folder of the shared library or executable that contains this code (found with dladdr; on
// Windows with GetModuleHandleExW), or the folder set by OverrideLibraryFolder.
std::string LibraryFolder();

// Full real path of the module file that contains this code.
std::string LibraryFilePath();

// Full path of the running executable (/proc/self/exe; GetModuleFileNameW on Windows).
std::string ExecutableFilePath();

// Folder of the running executable.
std::string ExecutableFolder();

// The folder part of a full path: everything before the last separator ("/" for a file in the
// root folder, "." for a bare name).
std::string FolderOfPath(const std::string& path);

// Makes LibraryFolder return `folder` for this process; an empty text restores the real
// folder. For tests, which link the library's code into their own executables.
void OverrideLibraryFolder(const std::string& folder);

}  // namespace vn
