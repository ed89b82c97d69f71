#include "config/core/texts.h"

#include "config/core/error_texts.h"
#include "config/core/record_status.h"

namespace vn::config::texts {

namespace {

std::string BothPaths(const std::string& control, const std::string& page) {
  return "'" + control + "'\n'" + page + "'";
}

}  // namespace

std::string DataLinkTestFailed(const std::string& description) {
  return "Die Testverbindung ist fehlgeschlagen:\n" + description;
}

std::string RecordPosition(long position, long count) {
  return std::to_string(position) + ". Datensatz von " + std::to_string(count);
}

std::string InputKeptText() {
  return English() ? "The input is kept. Save again or cancel the input."
                   : "Die Eingabe bleibt erhalten. Speichern Sie erneut oder brechen Sie die "
                     "Eingabe ab.";
}

std::string SaveErrorText(const std::string& errorText) {
  return "Es ist Fehler beim Speichern der Daten aufgetreten.\n" + errorText + "\n" +
         InputKeptText();
}

std::string CancelErrorText(long number, const std::string& errorText,
                            const std::string& statusText) {
  return "Es ist Fehler beim Abbrechen der Datenänderung aufgetreten.\nFehlernummer:" +
         std::to_string(number) + "\nFehlerbeschreibung:" + errorText +
         "\n\nRecordsetstatus: " + statusText;
}

std::string DeleteErrorText(long number, const std::string& errorText,
                            const std::string& statusText) {
  return "Es ist Fehler beim Löschen der Daten aufgetreten.\nFehlernummer:" +
         std::to_string(number) + "\nFehlerbeschreibung:" + errorText +
         "\n\nRecordsetstatus: " + statusText;
}

std::string RecordStatusMessage(const std::string& statusText) {
  return "Status der aktuellen Datensatzgruppe\n" + statusText;
}

std::string DeleteAssignedQuestion(const std::string& rubricLines) {
  return "Der aktuelle Datensatz ist diesen Rubriken zugeordnet:\n" + rubricLines +
         "\n\nSollen der Datensatz und seine Zuordnungen gelöscht werden?";
}

std::string DeleteRubricQuestion(const std::string& dataLines) {
  return "Der aktuellen Rubrik sind diese Daten zugeordnet:\n" + dataLines +
         "\n\nSollen die Rubrik und ihre Zuordnungen gelöscht werden? Die Daten selbst bleiben "
         "erhalten.";
}

std::string MissingRowText(const std::string& id) { return "<<fehlt: " + id + ">>"; }

std::string CopyTitle(const std::string& title) { return title + " (Kopie)"; }

std::string WrongControlLine(bool idle, const std::string& field, const std::string& focused) {
  return std::string(idle ? "Aktuell Falsches Control: " : "Falsches Control: ") + field + "/" +
         focused;
}

std::string NetLinksFolderMissing(const std::string& folder) {
  return "Der Ordner '" + folder +
         "' für die NetLinks-Ablagorte von ACT! existiert nicht.\n"
         "Bitte kontrollieren Sie Ihre ACT!-Einstellungen.";
}

std::string OverwriteStartFilesQuestion(const std::string& control, const std::string& page) {
  return "Wollen Sie die vorhandenen Startdateien \n\n" + BothPaths(control, page) +
         "\n\nüberschreiben?";
}

std::string RemoveStartFilesQuestion(const std::string& control, const std::string& page) {
  return "Wollen Sie die vorhandenen Startdateien \n\n" + BothPaths(control, page) +
         "\n\nwirklich entfernen?";
}

std::string StartFilesCreated(const std::string& control, const std::string& page) {
  return "Die beiden Startdateien:\n\n" + BothPaths(control, page) + "\n\nwurden neu erstellt.";
}

std::string CannotWriteFile(const std::string& path, const std::string& errorText) {
  return "Die Datei '" + path + "' kann nicht beschrieben werden.\n" + errorText;
}

std::string CannotRemoveFile(const std::string& path, const std::string& errorText) {
  return "Beim Entfernen der Datei '" + path + "' ist folgender Fehler aufgetreten:\n" + errorText;
}

std::string BadConnectionQuestion(const std::string& description) {
  return "Fehlerhafte Verbindung:\n" + description +
         "\n\nSoll eine neue Verbindung erstellt werden ?";
}

std::string FieldsChangedLine(const std::string& records) { return "Fields Changed " + records; }

std::string RecordMovedLine(const std::string& records, int reason) {
  return records + " Record Moved - Reason: " + GetADOEventReason(reason);
}

std::string RecordChangedLine(const std::string& records, int reason) {
  return records + " Record Changed - Reason: " + GetADOEventReason(reason);
}

std::string RecordsetChangedLine(const std::string& records, int reason) {
  return records + " RecordSet Changed - Reason: " + GetADOEventReason(reason);
}

// Conversion of an Access configuration database -------------------------------------------

std::string ConvertAccessQuestion(const std::string& path, const std::string& keptPath) {
  return "Die Konfigurationsdatenbank\n" + path +
         "\nist eine Access-Datei. Das Konfigurationsprogramm bearbeitet nur sein eigenes Format "
         "(die Seiten lesen beide).\n\nSoll sie jetzt in dieses Format umgewandelt werden? Das "
         "Original bleibt unverändert erhalten als\n" +
         keptPath;
}

std::string AccessConverted(const std::string& keptPath) {
  return "Die Konfigurationsdatenbank wurde umgewandelt. Das Original liegt unverändert unter\n" +
         keptPath;
}

std::string AccessNotConverted(const std::string& description) {
  return "Die Konfigurationsdatenbank konnte nicht umgewandelt werden; keine Datei wurde "
         "verändert.\n\n" +
         description;
}

}  // namespace vn::config::texts
