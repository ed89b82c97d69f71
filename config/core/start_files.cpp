#include "config/start_files.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "config/error_texts.h"
#include "config/message_box.h"
#include "platform/codepage.h"

namespace vn::config {

namespace {

QString Q(const std::string& utf8) { return QString::fromStdString(utf8); }

std::string Lines(std::initializer_list<std::string> lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return Utf8ToCp1252(text, Unmappable::kQuestionMark);
}

QString BothPaths(const std::string& control, const std::string& page) {
  return QStringLiteral("'") + Q(control) + QStringLiteral("'\n'") + Q(page) + QStringLiteral("'");
}

// The system's error text for `error`, with what to do about the common ones.
QString SystemErrorText(int error) { return UserFileErrorText(error, Q(std::strerror(error))); }

// Writes `bytes` to `path` (created or truncated); the system's error number on failure.
bool WriteFile(const std::string& path, const std::string& bytes, int& error) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) {
    error = errno;
    return false;
  }
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  const int writeErrno = errno;
  const bool closed = std::fclose(file) == 0;
  if (!written || !closed) {
    error = written ? errno : writeErrno;
    return false;
  }
  return true;
}

// An empty folder text names the root: refused with the message for a missing NetLinks place.
bool FolderGiven(const std::string& folder, MessageBoxes& messages, QWidget* parent) {
  if (!folder.empty()) return true;
  messages.Show(parent,
                QStringLiteral("Der ACT!-Ablagort für die NetLLinks wurde nicht gefunden.\n"
                               "Bitte kontrollieren Sie Ihre ACT!-Einstellungen."),
                MsgIcon::kInformation);
  return false;
}

}  // namespace

bool DirExists(const std::string& path) {
  struct stat st {};
  return ::stat((path + "/.").c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool FileExists(const std::string& path) {
  if (path.empty()) return false;
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

std::string ControlFilePath(const std::string& folder) { return folder + "/Varnolis.ctl"; }
std::string PageFilePath(const std::string& folder) { return folder + "/Varnolis.htm"; }

std::string ControlFileBytes(const std::string& pagePath) {
  return Lines({"ACT! Browser Control File Version 1.00", "[VIEW]", "Type = CONTACTTAB",
                "STARTURL=\"" + pagePath + "\"", "TITLE=\"Var&nolis\"", "PRIORITY=0", ""});
}

std::string RubricUrlSegment(const std::string& rubric) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string segment;
  for (const char c : rubric) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte <= 0x20 || byte == 0x7F || std::strchr("'\"\\%#?<>&", c) != nullptr) {
      segment += '%';
      segment += kHex[byte >> 4];
      segment += kHex[byte & 0xF];
    } else {
      segment += c;
    }
  }
  return segment;
}

std::string PageFileBytes(const std::string& rubric) {
  const std::string url = "varnolis://rubrik/" + RubricUrlSegment(rubric);
  return Lines({"<html>",
                "<head>",
                "<title>Varnolis</title>",
                "<script language=\"JavaScript\">",
                "<!--",
                "function Warte() {",
                "window.setTimeout(\"GoToURL('parent','" + url + "')\",2000);",
                "}",
                "function GoToURL() { ",
                "  for (var i=0; i< (GoToURL.arguments.length - 1); i+=2) ",
                "    eval(GoToURL.arguments[i]+\".location='\"+GoToURL.arguments[i+1]+\"'\");",
                "  return false;",
                "}",
                "//-->",
                "</script>",
                "</head>",
                "<body bgcolor=\"#FFFFFF\" text=\"#000000\" link=\"#000099\" "
                "onLoad=\"Warte();return\">",
                "Starte <a href=\"" + url + "\">Varnolis </a>... ",
                "</body>",
                "</html>",
                ""});
}

void CreateStartFiles(const std::string& folder, const std::string& rubric, MessageBoxes& messages,
                      QWidget* parent) {
  if (!FolderGiven(folder, messages, parent)) return;
  const std::string control = ControlFilePath(folder);
  const std::string page = PageFilePath(folder);
  if (FileExists(control) && FileExists(page)) {
    const QString question = QStringLiteral("Wollen Sie die vorhandenen Startdateien \n\n") +
                             BothPaths(control, page) + QStringLiteral("\n\nüberschreiben?");
    if (messages.Show(parent, question, MsgIcon::kQuestion, MsgButtons::kYesNo) != MsgResult::kYes)
      return;
  }
  int error = 0;
  for (const auto& [path, bytes] :
       {std::pair{control, ControlFileBytes(page)}, std::pair{page, PageFileBytes(rubric)}}) {
    if (!WriteFile(path, bytes, error)) {
      messages.Show(parent,
                    QStringLiteral("Die Datei '") + Q(path) +
                        QStringLiteral("' kann nicht beschrieben werden.\n") +
                        SystemErrorText(error),
                    MsgIcon::kExclamation);
      return;
    }
  }
  messages.Show(parent,
                QStringLiteral("Die beiden Startdateien:\n\n") + BothPaths(control, page) +
                    QStringLiteral("\n\nwurden neu erstellt."),
                MsgIcon::kInformation);
}

void RemoveStartFiles(const std::string& folder, MessageBoxes& messages, QWidget* parent) {
  if (!FolderGiven(folder, messages, parent)) return;
  const std::string control = ControlFilePath(folder);
  const std::string page = PageFilePath(folder);
  const bool controlExists = FileExists(control);
  const bool pageExists = FileExists(page);
  if (!controlExists && !pageExists) return;
  const QString question = QStringLiteral("Wollen Sie die vorhandenen Startdateien \n\n") +
                           BothPaths(control, page) + QStringLiteral("\n\nwirklich entfernen?");
  if (messages.Show(parent, question, MsgIcon::kQuestion, MsgButtons::kYesNo) != MsgResult::kYes)
    return;
  for (const auto& [path, exists] :
       {std::pair{control, controlExists}, std::pair{page, pageExists}}) {
    if (!exists) continue;
    if (std::remove(path.c_str()) != 0) {
      messages.Show(parent,
                    QStringLiteral("Beim Entfernen der Datei '") + Q(path) +
                        QStringLiteral("' ist folgender Fehler aufgetreten:\n") +
                        SystemErrorText(errno),
                    MsgIcon::kExclamation);
    }
  }
}

}  // namespace vn::config
