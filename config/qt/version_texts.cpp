#include "config/qt/version_texts.h"

namespace vn::config {

QString SplashVersionText(int major, int minor, int revision) {
  return QStringLiteral("Version %1.%2.%3").arg(major).arg(minor).arg(revision);
}

QString InfoVersionText(int major, int minor, int revision) {
  return QStringLiteral("Version %1.%2.0.%3").arg(major).arg(minor).arg(revision);
}

}  // namespace vn::config
