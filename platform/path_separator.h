// The platform's path separator, for path constants written in the code and the string table
// ("\ResourceHTML\styles.css" on Windows, "/ResourceHTML/styles.css" on Linux): each is written
// in the platform's own form, so nothing converts paths at run time.
#pragma once

#ifdef _WIN32
#define VN_PATH_SEP "\\"
#else
#define VN_PATH_SEP "/"
#endif

namespace vn {

inline constexpr char kPathSeparator = VN_PATH_SEP[0];

}  // namespace vn
