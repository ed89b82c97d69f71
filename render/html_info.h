// clHTMLInfo: the information block about the library itself (title bar with logo and product
// name, then version, copyright, maker, web address and the library file's path), handed out
// piece by piece like every page generator.
#pragma once

#include <string>

#include "render/page_generator.h"
#include "resources/message_ids.h"

namespace vn {

class clHTMLInfo final : public PageGenerator {
 public:
  clHTMLInfo();

  // A non-empty strResourcePath replaces the program folder in the logo and script paths.
  // Always succeeds.
  bool Init(const std::string& strResourcePath);
  // As an entry of a rubric: only the entry's resource path counts.
  bool Init(const GeneratorEntry& entry) override { return Init(entry.resourcePath); }

  int ErrNumber() const override { return errNumber_; }
  std::string ErrDescription() const override { return errDescription_; }
  bool Ready() const override { return state_ == 4; }

  // The next piece of HTML: the title bar, the information table, then empty texts.
  std::string GetNext() override;

 private:
  std::string TitleBar() const;
  std::string Information() const;
  void SetError(int id, const std::string& zusatz, long failureNumber,
                const std::string& failureDescription);

  std::string title_;
  std::string logoPath_;
  std::string scriptPath_;
  int errNumber_ = msg::kNoError;
  std::string errDescription_;
  int state_ = 0;
};

}  // namespace vn
