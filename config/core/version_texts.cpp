#include "config/core/version_texts.h"

namespace vn::config {

std::string SplashVersionText(int major, int minor, int revision) {
  return "Version " + std::to_string(major) + "." + std::to_string(minor) + "." +
         std::to_string(revision);
}

std::string InfoVersionText(int major, int minor, int revision) {
  return "Version " + std::to_string(major) + "." + std::to_string(minor) + ".0." +
         std::to_string(revision);
}

}  // namespace vn::config
