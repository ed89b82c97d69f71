// What the column names of a data entry's query say about how a column is shown: whether its
// values are markup, its caption, its alignment and whether it is hidden (the alias
// conventions "html_", "left_", "right_", "center_", "format..._" and "hide_").
#pragma once

#include <string>

namespace vn {

// A column name split at the markup opt-in: a name that begins with "html_" (any case) and
// goes on after it shows its values as markup; every other column's values are page text.
// The caption, alignment and hide rules below take the whole name and read `rest`. A format
// part never begins with "html", so a value's format is the same with or without the prefix.
struct ColumnName {
  bool markup = false;
  std::string rest;  // the name without the prefix
};
ColumnName SplitMarkupPrefix(const std::string& name);

// The record card's caption: the name without a leading alignment word and its "_".
std::string ListCaption(const std::string& name);

// The alignment word of the table: "left", "right" or "center" from the name's first part,
// "left" otherwise.
std::string GetAlignment(const std::string& name);

// The table's caption: the name without a leading alignment word or format part (and a
// format part that follows an alignment word).
std::string GetCaption(const std::string& name);

// True for the table's hidden columns (the name begins with "hide_" in any case).
bool IsHiddenColumn(const std::string& name);

}  // namespace vn
