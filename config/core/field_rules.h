// The content rules of single fields: a rubric name holds no spaces (it is the last segment of
// its URL), a connection string and a query are stored on one line, and a number field stores
// a whole number.
#pragma once

#include <optional>
#include <string>

#include "data/variant.h"

namespace vn::config {

// A field's text after a rule changed it, and where the caret goes (a byte offset in the
// UTF-8 text).
struct FieldCorrection {
  std::string text;
  int caret = 0;
};

// Every space of a rubric name becomes "_"; the caret stays. Nothing when there is none.
std::optional<FieldCorrection> RubricNameRule(const std::string& text, int caret);

// Each line break (CR LF, CR or LF) becomes one blank where it was; the caret stays after it.
// Nothing when there is none.
std::optional<FieldCorrection> OneLineRule(const std::string& text, int caret);

// A number field's value: a whole number when the text is one, NULL when it is empty, and the
// text as it is otherwise.
vn::data::Variant NumberValue(const std::string& text);

}  // namespace vn::config
