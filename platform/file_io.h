// Opening and removing files by their UTF-8 paths, in binary mode and not inherited by child
// processes, on either platform (Windows needs the wide-character calls for paths outside the
// ANSI code page, and binary mode so that CR LF is not translated).
#pragma once

#include <cstdio>
#include <string>

namespace vn {

// A stream for writing that replaces the file's contents; nullptr (errno set) when it cannot be
// opened.
std::FILE* OpenFileForWriting(const std::string& path);

// A descriptor for reading (close it with ::close); -1 (errno set) when it cannot be opened.
int OpenFileForReading(const std::string& path);

// Renames `from` to `to`, replacing a file of that name; false (errno set on Linux) when it
// cannot. Windows' rename refuses to replace, hence the layer.
bool MoveFileOver(const std::string& from, const std::string& to);

// Removes the file; false when it cannot be removed.
bool RemoveFile(const std::string& path);

// Whether the path names its place without the current folder ("/x" here; "C:\x", "\\server\x"
// and "\x" on Windows).
bool IsAbsolutePath(const std::string& path);

// Whether a regular file (not a folder) is at the path.
bool IsRegularFile(const std::string& path);

// Whether a folder is at the path.
bool IsDirectory(const std::string& path);

}  // namespace vn
