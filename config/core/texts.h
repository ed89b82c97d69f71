// The texts of the configuration window's messages, debug lines and fixed captions, in one
// place for every front. German as the window speaks it; the sentences the program adds for
// an English user in English.
#pragma once

#include <string>

namespace vn::config::texts {

inline constexpr const char* kWindowCaption = "Varnolis - Konfiguration";
inline constexpr const char* kNoRecords = "Es sind keine Datensätze vorhanden.";
inline constexpr const char* kRecordDeleted = "Datensatz ist gelöscht.";
inline constexpr const char* kPastTheEnd = "BOF=False EOF=True";
inline constexpr const char* kDeleteQuestion =
    "Sind Sie sicher, dass Sie den aktuellen Datensatz löschen wolllen?";
inline constexpr const char* kDebugRule = "---------------";
inline constexpr const char* kEmptyMarker = "<<Leer>>";
inline constexpr const char* kTreeRoot = "Zuordnungen";
inline constexpr const char* kTreeRootKey = "Root";
inline constexpr const char* kRegisterkarte = "Varnolis";
inline constexpr const char* kNoDataAccess = "Kein Datenzugriff vorhanden.";
inline constexpr const char* kNetLinksNotFound =
    "Der ACT!-Ablagort für die NetLLinks wurde nicht gefunden.\n"
    "Bitte kontrollieren Sie Ihre ACT!-Einstellungen.";

// The splash and about windows.
inline constexpr const char* kSubtitle = "Konfiguration";
inline constexpr const char* kInfoCaption = "Informationen über das Programm";
inline constexpr const char* kWebLinkTooltip = "Besuchen Sie uns im Internet...";

// The data-link dialog.
inline constexpr const char* kDataLinkCaption = "Datenverknüpfungseigenschaften";
inline constexpr const char* kDataLinkKind = "&Art der Verbindung:";
inline constexpr const char* kDataLinkBrowse = "&Durchsuchen...";
inline constexpr const char* kDataLinkFile = "Datei:";
inline constexpr const char* kDataLinkFileTitle = "Datenbankdatei";
inline constexpr const char* kDataLinkDsn = "Datenquelle:";
inline constexpr const char* kDataLinkUser = "Benutzername:";
inline constexpr const char* kDataLinkPassword = "Kennwort:";
inline constexpr const char* kDataLinkDriver = "Treiber:";
inline constexpr const char* kDataLinkKeys = "Schlüssel (je Zeile Name=Wert):";
inline constexpr const char* kDataLinkKeysExample = "Server=localhost\nDatabase=kunden";
inline constexpr const char* kDataLinkCancel = "Abbrechen";
inline constexpr const char* kDataLinkTest = "Verbindung &testen";
inline constexpr const char* kDataLinkTestPassed = "Die Testverbindung war erfolgreich.";
std::string DataLinkTestFailed(const std::string& description);

// position + ". Datensatz von " + count.
std::string RecordPosition(long position, long count);

// A refused save: what the database said, and that the input is kept for another try.
std::string SaveErrorText(const std::string& errorText);
// The sentence that ends it (English for an English user).
std::string InputKeptText();

std::string CancelErrorText(long number, const std::string& errorText,
                            const std::string& statusText);
std::string DeleteErrorText(long number, const std::string& errorText,
                            const std::string& statusText);
std::string RecordStatusMessage(const std::string& statusText);
// The question before a data entry that rubrics show is deleted with its assignments.
std::string DeleteAssignedQuestion(const std::string& rubricLines);
// The question before a rubric that shows data entries is deleted with its assignments.
std::string DeleteRubricQuestion(const std::string& dataLines);

// What a list field of an assignment shows for a rubric or data entry that no longer exists.
std::string MissingRowText(const std::string& id);
// The title of a data entry's copy.
std::string CopyTitle(const std::string& title);
inline constexpr const char* kNetLinksFolderTitle = "Netlinks-Ordner";

// The captions of the message boxes' buttons. Every question the program asks is German, so
// its answers are too, whatever language the system speaks.
inline constexpr const char* kButtonYes = "&Ja";
inline constexpr const char* kButtonNo = "&Nein";
inline constexpr const char* kButtonOk = "OK";

std::string WrongControlLine(bool idle, const std::string& field, const std::string& focused);

std::string NetLinksFolderMissing(const std::string& folder);
std::string OverwriteStartFilesQuestion(const std::string& control, const std::string& page);
std::string RemoveStartFilesQuestion(const std::string& control, const std::string& page);
std::string StartFilesCreated(const std::string& control, const std::string& page);
std::string CannotWriteFile(const std::string& path, const std::string& errorText);
std::string CannotRemoveFile(const std::string& path, const std::string& errorText);

std::string BadConnectionQuestion(const std::string& description);

// Trace lines of the record notifications.
std::string FieldsChangedLine(const std::string& records);
std::string RecordMovedLine(const std::string& records, int reason);
std::string RecordChangedLine(const std::string& records, int reason);
std::string RecordsetChangedLine(const std::string& records, int reason);

// A configuration database in Access' format, opened by the program: the offer to convert it
// into the program's own format and what became of it.
std::string ConvertAccessQuestion(const std::string& path, const std::string& keptPath);
std::string AccessConverted(const std::string& keptPath);
std::string AccessNotConverted(const std::string& description);
inline constexpr const char* kAccessKept =
    "Die Konfigurationsdatenbank bleibt unverändert. Das Konfigurationsprogramm kann sie ohne "
    "Umwandlung nicht bearbeiten und wird beendet.";

// The preview of a data entry.
inline constexpr const char* kPreviewCaption = "Vorschau - ";
inline constexpr const char* kPreviewKey = "F5";
inline constexpr const char* kPreviewTooltip =
    "Vorschau der Daten für den aktuellen ACT!-Kontakt (F5)";
inline constexpr const char* kPreviewMenu = "&Vorschau";
inline constexpr const char* kPreviewSomeRows = "%s von %s Zeilen";
inline constexpr const char* kPreviewMoreRows = "mehr als %s Zeilen";
inline constexpr const char* kPreviewElapsed = "Dauer: %s ms";
inline constexpr const char* kPreviewRunning = "Die Abfrage läuft ...";
inline constexpr const char* kPreviewCancel = "Abbrechen";
inline constexpr const char* kPreviewCancelled = "Die Abfrage wurde abgebrochen.";
inline constexpr const char* kPreviewNoQuery = "Das Format Info zeigt keine Abfrage.";
inline constexpr const char* kPreviewError = "Fehler %s: %s";
inline constexpr const char* kPreviewConnection = "Verbindung: %s";
inline constexpr const char* kPreviewQuery = "Abfrage: %s";

}  // namespace vn::config::texts
