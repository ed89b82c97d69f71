// clACTDataParser: replaces the ACT! source commands ("{!kontakt, 25}" ...) in connection
// strings and queries by values of the current ACT! contact or group and of the sibling link
// products' INI files.
#pragma once

#include <string>

namespace vn {

class clACTApplication;

class clACTDataParser {
 public:
  // Creates the error block (class "clACTDataParser") and keeps the bridge (may be null).
  bool Init(clACTApplication* objACTApp, const std::string& strResourcePath);

  // The text with every command replaced; on the first failing command the trimmed input.
  std::string Parse(const std::string& sText);

  const std::string& Text() const;
  int ErrNumber() const;
  std::string ErrDescription() const;
};

}  // namespace vn
