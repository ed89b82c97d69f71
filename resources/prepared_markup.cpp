#include "resources/prepared_markup.h"

namespace vn {

PreparedMarkup::PreparedMarkup(std::string_view built) {
  for (size_t at = built.find(kSlot); at != std::string_view::npos; at = built.find(kSlot)) {
    pieces_.emplace_back(built.substr(0, at));
    built.remove_prefix(at + 1);
  }
  pieces_.emplace_back(built);
}

void PreparedMarkup::AppendTo(std::string& out, std::string_view value) const {
  for (size_t i = 0; i < pieces_.size(); ++i) {
    if (i > 0) out += value;
    out += pieces_[i];
  }
}

bool PreparedMarkup::Fits(std::string_view value) {
  return value.find_first_of(std::string_view(" >\x01", 3)) == std::string_view::npos;
}

}  // namespace vn
