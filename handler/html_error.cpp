#include "handler/html_error.h"

#include "platform/module_path.h"

namespace vn {

clHTMLError::clHTMLError() : plusImagePath_(LibraryFolder() + ResText(903)) {}

bool clHTMLError::Init(const std::string& sKlasse, const std::string& strResourcePath) {
  className_ = sKlasse;
  if (!strResourcePath.empty()) plusImagePath_ = strResourcePath + ResText(903);
  return true;
}

void clHTMLError::SetError(int Fehlernummer, const ResValues& sZusatz,
                           const std::optional<PendingFailure>& failure) {
  number_ = Fehlernummer;
  const std::string& k = className_;
  const std::string image = "img_error_" + k;
  const std::string block = "div_error_" + k;
  const std::string table = ResText(308, ResText(709, 0, 2, 0) + ResText(404, "100%"));
  const std::string textCell = ResText(312, ResText(412, ResText(617)));
  const std::string row = ResText(310, ResText(407, ResText(601)));
  auto detailRow = [&](const std::string& first, const std::string& second) {
    return row + textCell + first + ResText(313) + textCell + second + ResText(313) + ResText(311);
  };

  std::string d;
  d += table + ResText(310) + ResText(312, ResText(412, ResText(610)));
  d += ResText(316, ResText(401, image) + ResText(402, plusImagePath_) +
                        ResText(501, "'" + image + "','" + block + "'") +
                        ResText(502, "'" + image + "'") + ResText(503, "'" + image + "'") +
                        ResText(404, 11) + ResText(405, 11) + ResText(406, ResText(609)));
  d += ResText(606) + ResText(606);
  d += ResText(321, ResText(203, k));
  d += ResText(313) + ResText(311) + ResText(309);
  d += "\r\n" + ResText(317, ResText(409, block) + ResText(410, ResText(608))) + "\r\n";
  d += table;
  d += detailRow(ResText(201), ResText(202));
  d += detailRow(std::to_string(Fehlernummer), ResText(Fehlernummer, sZusatz));
  if (failure) d += detailRow(std::to_string(failure->number), failure->description);
  d += ResText(309) + ResText(318);
  description_ = std::move(d);
}

}  // namespace vn
