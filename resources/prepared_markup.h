// Markup built once with slots where a value goes, then filled many times by appending: for the
// pieces a page repeats per row or per level that differ only in an element id.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vn {

class PreparedMarkup {
 public:
  // Stands where the value goes while the markup is built through ResText.
  static constexpr char kSlot = '\x01';

  PreparedMarkup() = default;
  explicit PreparedMarkup(std::string_view built);

  // Appends the markup with `value` in every slot.
  void AppendTo(std::string& out, std::string_view value) const;

  // True when the string table's rule that closes up " >" cannot act on `value` or across its
  // ends: it holds no blank, '>' or slot marker. Only then is a filled piece the same as the
  // piece built with the value in it. (Placeholders are found in templates only, so a '%' in a
  // value is plain text either way.)
  static bool Fits(std::string_view value);

 private:
  std::vector<std::string> pieces_;
};

}  // namespace vn
