#include "config/core/preview_control.h"

#include "config/core/texts.h"
#include "resources/res_text.h"

namespace vn::config {

std::vector<std::string> PreviewLines(const PreviewResult& result) {
  std::vector<std::string> lines;
  lines.push_back(ResText(texts::kPreviewConnection, result.connectionShown));
  lines.push_back(ResText(texts::kPreviewQuery, result.query));
  if (result.cancelled) {
    lines.push_back(result.errorText);
  } else if (!result.errorText.empty()) {
    lines.push_back(
        ResText(texts::kPreviewError, std::to_string(result.errorNumber), result.errorText));
  }
  if (!result.notice.empty()) lines.push_back(result.notice);
  lines.push_back(ElapsedText(result.elapsed));
  return lines;
}

void PreviewControl::Show(const PreviewEntry& entry) {
  PreviewCommand command = ResolvePreview(entry, makeAutomation_());
  view_.ShowPreviewRunning(PreviewCaption(entry.title));
  runner_.Start(std::move(command));
}

void PreviewControl::Deliver() {
  if (std::optional<PreviewResult> result = runner_.Take()) view_.ShowPreviewResult(*result);
}

}  // namespace vn::config
