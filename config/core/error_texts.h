// What the administrator is told when the database or the file system refuses something: for
// the common failures a sentence in the user's language that says what to do, followed by the
// provider's own text on a line of its own for support; any other failure keeps the provider's
// text alone.
#pragma once

#include <functional>
#include <string>

namespace vn {
class RuntimeError;
}

namespace vn::config {

// True when the program speaks English to this user: an English user language whose locale
// says so (a C or POSIX locale, as on a bare system, keeps German).
bool English();

// The caption of a column's field on the current tab ("Daten" for Daten_ID), without its
// access-key marker; empty when the column has no field.
using FieldCaption = std::function<std::string(const std::string& column)>;

// The text that stands for the provider's description in the window's error boxes.
std::string UserErrorText(const vn::RuntimeError& error, const FieldCaption& caption);

// The same for a system error number (errno) of a file in a folder, with the system's text.
std::string UserFileErrorText(int systemError, const std::string& systemText);

// The message when a rubric is saved without a name.
std::string EmptyRubricNameText();
// The message when a rubric is saved under the name of `other` (as the address compares names).
std::string DuplicateRubricNameText(const std::string& other);
// The notice, once at start, that rubrics of the database share names: one line per group.
std::string DuplicateRubricsText(const std::string& groupLines);
// The notice after a connection dialog that the library cannot open the provider `provider`:
// the data layer's list of those it opens follows.
std::string ProviderCannotOpenText(const std::string& provider, const std::string& providerList);

}  // namespace vn::config
