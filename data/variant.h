// Variant: a field value as the data access layer delivers it, with NULL distinct from empty
// text and zero. Numbers keep their exact kind (integer, double, currency, decimal), dates are
// OLE date serials, chapters carry the child recordset.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <variant>

namespace vn::data {

class Recordset;

struct Null {
  bool operator==(const Null&) const = default;
};

// Currency: a 64-bit integer scaled by 10 000 (four decimal places, exact).
struct Currency {
  std::int64_t scaled = 0;
  bool operator==(const Currency&) const = default;
};

// Decimal/numeric: exact decimal text in the form "[-]digits[.digits]" (point separator).
struct Decimal {
  std::string text;
  bool operator==(const Decimal&) const = default;
};

// Date: days since 1899-12-30, the fraction being the time of day (OLE DATE).
struct Date {
  double serial = 0;
  bool operator==(const Date&) const = default;
};

class Variant {
 public:
  using Value = std::variant<std::monostate, Null, bool, std::int64_t, double, Currency, Decimal,
                             Date, std::string, std::shared_ptr<Recordset>>;

  Variant() = default;  // Empty
  Variant(Null v) : value_(v) {}
  Variant(bool v) : value_(v) {}
  Variant(int v) : value_(static_cast<std::int64_t>(v)) {}
  Variant(std::int64_t v) : value_(v) {}
  Variant(double v) : value_(v) {}
  Variant(Currency v) : value_(v) {}
  Variant(Decimal v) : value_(std::move(v)) {}
  Variant(Date v) : value_(v) {}
  Variant(std::string v) : value_(std::move(v)) {}
  Variant(const char* v) : value_(std::string(v)) {}
  Variant(std::shared_ptr<Recordset> v) : value_(std::move(v)) {}

  bool IsEmpty() const { return std::holds_alternative<std::monostate>(value_); }
  bool IsNull() const { return std::holds_alternative<Null>(value_); }
  template <typename T>
  bool Is() const {
    return std::holds_alternative<T>(value_);
  }
  template <typename T>
  const T& As() const {
    return std::get<T>(value_);
  }
  const Value& Raw() const { return value_; }

  // Makes the value the text `text`, in the storage of the text it holds already: a row that
  // is read into again and again then allocates nothing for texts that fit.
  void AssignText(std::string_view text) {
    if (auto* held = std::get_if<std::string>(&value_)) {
      held->assign(text);
    } else {
      value_.emplace<std::string>(text);
    }
  }

  // Plain text form for diagnostics and logs (point decimal separator, ISO dates); not the
  // regional conversion of the formatter.
  std::string DebugText() const;

  bool operator==(const Variant& other) const;

 private:
  Value value_;
};

}  // namespace vn::data
