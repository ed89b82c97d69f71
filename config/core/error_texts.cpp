#include "config/core/error_texts.h"

#include <cerrno>
#include <cstdlib>
#include <regex>

#include "platform/language.h"
#include "platform/runtime_error.h"

namespace vn::config {

bool English() {
  if (vn::UserLanguage() != vn::Language::kEnglish) return false;
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = std::getenv(name);
    if (value != nullptr && value[0] != '\0') return std::string(value).rfind("en", 0) == 0;
  }
  return false;
}

namespace {

std::string Choose(const char* german, const char* english) { return English() ? english : german; }

// `text` with "%1" replaced by the quoted field caption.
std::string WithField(const char* german, const char* english, const std::string& field) {
  const std::string quoted = English() ? "\"" + field + "\"" : "„" + field + "“";
  std::string text = Choose(german, english);
  const size_t mark = text.find("%1");
  if (mark != std::string::npos) text.replace(mark, 2, quoted);
  return text;
}

std::string CaptionOf(const FieldCaption& caption, const std::string& column) {
  const std::string text = caption ? caption(column) : std::string();
  return text.empty() ? column : text;
}

std::string Explanation(const std::string& description, const FieldCaption& caption) {
  static const std::regex notNull(R"(NOT NULL constraint failed: \w+\.(\w+))");
  static const std::regex wrongKind(R"(The value '.*' cannot be stored in the field '(\w+)')");
  std::smatch match;
  if (std::regex_search(description, match, notNull)) {
    return WithField("Das Feld %1 muss ausgefüllt werden. Bitte tragen Sie einen Wert ein.",
                     "The field %1 must be filled in. Please enter a value.",
                     CaptionOf(caption, match[1].str()));
  }
  if (std::regex_search(description, match, wrongKind)) {
    return WithField("Das Feld %1 nimmt nur ganze Zahlen auf. Bitte korrigieren Sie den Wert.",
                     "The field %1 holds whole numbers only. Please correct the value.",
                     CaptionOf(caption, match[1].str()));
  }
  if (description.find("readonly database") != std::string::npos) {
    return Choose(
        "Die Konfigurationsdatenbank ist schreibgeschützt. Bitte prüfen Sie die "
        "Zugriffsrechte der Datei config.mdb und ihres Ordners.",
        "The configuration database is read-only. Please check the permissions of the "
        "file config.mdb and its folder.");
  }
  if (description.find("database is locked") != std::string::npos ||
      description.find("database is busy") != std::string::npos) {
    return Choose(
        "Die Konfigurationsdatenbank ist von einem anderen Programm gesperrt. Bitte "
        "schließen Sie das andere Programm und versuchen Sie es erneut.",
        "The configuration database is locked by another program. Please close the "
        "other program and try again.");
  }
  if (description.find("Could not find file") != std::string::npos ||
      description.find("unable to open database file") != std::string::npos) {
    return Choose(
        "Die Datei der Konfigurationsdatenbank wurde nicht gefunden. Bitte stellen Sie "
        "config.mdb im Ordner databases des Programms wieder her und starten Sie das "
        "Programm neu.",
        "The configuration database file was not found. Please restore config.mdb in "
        "the program's databases folder and start the program again.");
  }
  return {};
}

}  // namespace

std::string UserErrorText(const vn::RuntimeError& error, const FieldCaption& caption) {
  const std::string& provider = error.Description();
  const std::string explanation = Explanation(provider, caption);
  return explanation.empty() ? provider : explanation + "\n" + provider;
}

std::string UserFileErrorText(int systemError, const std::string& systemText) {
  std::string explanation;
  if (systemError == EACCES || systemError == EPERM || systemError == EROFS) {
    explanation = Choose(
        "In diesen Ordner kann nicht geschrieben werden. Bitte wählen Sie einen "
        "Ordner, in dem Sie schreiben dürfen, oder lassen Sie die Rechte ändern.",
        "This folder cannot be written. Please choose a folder you may write "
        "to, or have its permissions changed.");
  } else if (systemError == ENOENT || systemError == ENOTDIR) {
    explanation = Choose("Der Ordner existiert nicht. Bitte kontrollieren Sie den Netlinks-Ordner.",
                         "The folder does not exist. Please check the NetLinks folder.");
  }
  return explanation.empty() ? systemText : explanation + "\n" + systemText;
}

std::string EmptyRubricNameText() {
  return Choose(
      "Bitte geben Sie der Rubrik einen Namen. Ohne Namen kann sie weder im Menü noch "
      "als Startrubrik aufgerufen werden.",
      "Please give the rubric a name. Without a name it can be opened neither from the "
      "menu nor as the start rubric.");
}

std::string DuplicateRubricNameText(const std::string& other) {
  return WithField(
      "Es gibt schon eine Rubrik namens %1. Der Name ist die Adresse der Rubrik, ohne Rücksicht "
      "auf Groß- und Kleinschreibung: Zwei gleiche Namen zeigten die Daten beider Rubriken auf "
      "einer Seite. Bitte wählen Sie einen anderen Namen.",
      "There is already a rubric named %1. A rubric's name is its address, whatever the case of "
      "its letters: two equal names would show the data of both rubrics on one page. Please "
      "choose another name.",
      other);
}

std::string DuplicateRubricsText(const std::string& groupLines) {
  return Choose("Mehrere Rubriken tragen denselben Namen (ohne Rücksicht auf Groß- und "
                "Kleinschreibung):\n",
                "Several rubrics share a name (whatever the case of its letters):\n") +
         groupLines +
         Choose("\n\nEine Seite zeigt die Daten aller Rubriken eines Namens. Bitte geben Sie "
                "jeder Rubrik einen eigenen Namen.",
                "\n\nA page shows the data of all rubrics of one name. Please give each rubric a "
                "name of its own.");
}

std::string ProviderCannotOpenText(const std::string& provider, const std::string& providerList) {
  return WithField(
             "Varnolis kann den Provider %1 nicht öffnen; eine Seite zeigte für diese Verbindung "
             "den Fehler 101.",
             "Varnolis cannot open the provider %1; a page would show error 101 for this "
             "connection.",
             provider) +
         "\n" + providerList;
}

}  // namespace vn::config
