#include "act/automation.h"

#include <cmath>
#include <cstdio>

#include "platform/runtime_error.h"

namespace vn {

AutoObject AutoValue::Object() const {
  if (const auto* object = std::get_if<AutoObject>(&value_)) return *object;
  return nullptr;
}

std::int32_t AutoValue::ToLong() const {
  if (const auto* v = std::get_if<std::int32_t>(&value_)) return *v;
  if (const auto* v = std::get_if<std::int16_t>(&value_)) return *v;
  if (const auto* v = std::get_if<bool>(&value_)) return *v ? -1 : 0;
  if (const auto* v = std::get_if<double>(&value_)) {
    if (std::isfinite(*v) && *v > -2147483648.5 && *v < 2147483647.5) {
      return static_cast<std::int32_t>(std::nearbyint(*v));
    }
  }
  throw RuntimeError(kDispTypeMismatch, "Type mismatch", "AutoValue");
}

std::string AutoValue::ToText() const {
  if (const auto* v = std::get_if<std::string>(&value_)) return *v;
  if (const auto* v = std::get_if<std::int32_t>(&value_)) return std::to_string(*v);
  if (const auto* v = std::get_if<std::int16_t>(&value_)) return std::to_string(*v);
  if (std::holds_alternative<std::monostate>(value_)) return {};
  if (const auto* v = std::get_if<bool>(&value_)) return *v ? "True" : "False";
  if (const auto* v = std::get_if<double>(&value_)) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.15g", *v);
    return buffer;
  }
  throw RuntimeError(kDispTypeMismatch, "Type mismatch", "AutoValue");
}

}  // namespace vn
