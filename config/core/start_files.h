// The start files that make ACT! show the Varnolis contact tab: the browser control file
// Varnolis.ctl and the page Varnolis.htm in ACT!'s NetLinks folder, written in the system's
// single-byte code page with CR LF line ends; created and removed with the questions and
// messages of the tab "Startoptionen".
#pragma once

#include <string>

namespace vn::config {

class Prompts;

// True when the entry "." exists inside `path` (so an empty path means the root).
bool DirExists(const std::string& path);
// False for an empty path; otherwise true when a file (not a folder) of that name exists.
bool FileExists(const std::string& path);

// The two paths: folder text + separator + "Varnolis.ctl" and + "Varnolis.htm", the text as
// typed ("\" on Windows, "/" here).
std::string ControlFilePath(const std::string& folder);
std::string PageFilePath(const std::string& folder);

// `rubric` as the last segment of a varnolis://rubrik/ URL inside a quoted attribute or script
// string: the characters that would end the attribute, the string or the URL (' " \ % # ? < >
// &, blanks, control characters) and every byte of a non-ASCII character percent-encoded, so the
// address survives the start page's code page whatever the name holds; the library reads such
// escapes as UTF-8.
std::string RubricUrlSegment(const std::string& rubric);

// The files' bytes: the control file pointing at `pagePath`, and the page that opens the
// rubric `rubric` (both texts UTF-8, written in the system's code page with '?' for what it
// cannot hold).
std::string ControlFileBytes(const std::string& pagePath);
std::string PageFileBytes(const std::string& rubric);

// The tab's two actions. An empty folder text is refused with a message (the paths would name
// the file system's root).
void CreateStartFiles(const std::string& folder, const std::string& rubric, Prompts& prompts);
void RemoveStartFiles(const std::string& folder, Prompts& prompts);

}  // namespace vn::config
