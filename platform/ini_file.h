// INI files read with the rules of the Windows profile functions: sections and keys without
// regard to case, blanks around names and values trimmed, one pair of surrounding quotes
// removed, ';' comment lines, values cut at 255 characters, the default when the file, the
// section or the key is missing. Used for the settings store and the sibling products' files.
#pragma once

#include <cstddef>
#include <string>

namespace vn {

// The value of `key` in `section` of the INI file at `path`, or `defaultValue`.
// Files may be Windows-1252 or UTF-8; the result is UTF-8.
std::string GetPrivateProfileString(const std::string& section, const std::string& key,
                                    const std::string& defaultValue, const std::string& path);

// The longest value the profile functions return, in characters.
inline constexpr size_t kMaxProfileValueCharacters = 255;

// `utf8` cut to kMaxProfileValueCharacters characters.
std::string CutProfileValue(const std::string& utf8);

// The same lookup in the text of an INI file.
std::string GetProfileStringFromText(const std::string& section, const std::string& key,
                                     const std::string& defaultValue, std::string content);

// Finds `name` in `folder` without regard to case, as Windows would; returns the full path of
// the exact match if it exists, else of the first entry whose name matches ignoring case, else
// folder + "/" + name (a path that does not exist). On Windows, whose file names ignore case,
// folder + "\\" + name.
std::string FindFileIgnoringCase(const std::string& folder, const std::string& name);

}  // namespace vn
