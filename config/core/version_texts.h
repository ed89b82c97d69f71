// The version lines of the splash and about windows, from the build's version information.
#pragma once

#include <string>

namespace vn::config {

// "Version 2.1.17": major, minor and revision (splash window).
std::string SplashVersionText(int major, int minor, int revision);
// "Version 2.1.0.17": with a literal 0 as third number (about window).
std::string InfoVersionText(int major, int minor, int revision);

}  // namespace vn::config
