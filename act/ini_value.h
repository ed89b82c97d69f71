// modIniDatei: one value of an INI file in the program folder (the sibling link products'
// Brimlow.ini and Tessaran.ini), the file name found without regard to case.
#pragma once

#include <string>

namespace vn::modIniDatei {

// The value of `key` in `section` of program folder + "/" + `file`, at most 255 characters and
// up to the first NUL; `defaultValue` when the file, section or key is missing.
std::string LeseIniWert(const std::string& file, const std::string& section, const std::string& key,
                        const std::string& defaultValue);

// The full path of `file` in the program folder as it exists there (found without regard to
// case), or program folder + "/" + `file` when there is none.
std::string IniPfad(const std::string& file);

}  // namespace vn::modIniDatei
