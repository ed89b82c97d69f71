// Temporary files, the counterpart of GetTempPathA and GetTempFileNameA: the user's temporary
// folder and fresh, uniquely named files in it that only the user can read.
#pragma once

#include <optional>
#include <string>

namespace vn {

// $TMPDIR when it is set and not empty, else /tmp; without a trailing '/'.
std::string TempPath();

// Creates a new empty file `folder`/<first three characters of prefix><four hex digits>.tmp,
// exclusively and with mode 0600, trying the next number while a name is taken. Returns its
// full path, or nothing when no file can be created there.
std::optional<std::string> CreateTempFile(const std::string& folder, const std::string& prefix);

}  // namespace vn
