#include "resources/html_error.h"

#include "platform/module_path.h"
#include "resources/markup.h"

namespace vn {

clHTMLError::clHTMLError() : plusImagePath_(LibraryFolder() + ResText(res::kPlusImage)) {}

bool clHTMLError::Init(const std::string& sKlasse, const std::string& strResourcePath) {
  className_ = sKlasse;
  if (!strResourcePath.empty()) plusImagePath_ = strResourcePath + ResText(res::kPlusImage);
  return true;
}

void clHTMLError::SetError(int Fehlernummer, const ResValues& sZusatz,
                           const std::optional<PendingFailure>& failure) {
  number_ = Fehlernummer;
  const std::string& k = className_;
  const markup::Fold fold{"img_error_" + k, "div_error_" + k, plusImagePath_};
  const std::string textCell =
      ResText(res::kCell, ResText(res::kClass, ResText(res::kErrorTextClass)));
  const std::string row = ResText(res::kRow, ResText(res::kValign, ResText(res::kTop)));
  auto detailRow = [&](const std::string& first, const std::string& second) {
    return row + textCell + first + ResText(res::kCellEnd) + textCell + second +
           ResText(res::kCellEnd) + ResText(res::kRowEnd);
  };

  std::string d =
      markup::FoldTitleBar(fold, "", ResText(res::kClass, ResText(res::kErrorTitleClass)),
                           ResText(res::kBold, ResText(res::kNoticeFromClass, k)));
  d += markup::FoldBlockStart(fold.block, ResText(res::kDisplayNone));
  d += markup::FullWidthTable(0, 2, 0);
  d += detailRow(ResText(res::kNumberCaption), ResText(res::kDescriptionCaption));
  d += detailRow(std::to_string(Fehlernummer), ResText(Fehlernummer, sZusatz));
  if (failure) d += detailRow(std::to_string(failure->number), failure->description);
  d += ResText(res::kTableEnd) + ResText(res::kDivEnd);
  description_ = std::move(d);
}

}  // namespace vn
