#include "config/start_files.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

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

// Writes `bytes` to `path` (created or truncated); the system's error text on failure.
bool WriteFile(const std::string& path, const std::string& bytes, std::string& error) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) {
    error = std::strerror(errno);
    return false;
  }
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  const int writeErrno = errno;
  const bool closed = std::fclose(file) == 0;
  if (!written || !closed) {
    error = std::strerror(written ? errno : writeErrno);
    return false;
  }
  return true;
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

std::string PageFileBytes(const std::string& rubric) {
  return Lines({"<html>",
                "<head>",
                "<title>Varnolis</title>",
                "<script language=\"JavaScript\">",
                "<!--",
                "function Warte() {",
                "window.setTimeout(\"GoToURL('parent','varnolis://rubrik/" + rubric + "')\",2000);",
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
                "Starte <a href=\"varnolis://rubrik/" + rubric + "\">Varnolis </a>... ",
                "</body>",
                "</html>",
                ""});
}

void CreateStartFiles(const std::string& folder, const std::string& rubric,
                      MessageBoxes& messages, QWidget* parent) {
  const std::string control = ControlFilePath(folder);
  const std::string page = PageFilePath(folder);
  if (FileExists(control) && FileExists(page)) {
    const QString question = QStringLiteral("Wollen Sie die vorhandenen Startdateien \n\n") +
                             BothPaths(control, page) + QStringLiteral("\n\nüberschreiben?");
    if (messages.Show(parent, question, MsgIcon::kQuestion, MsgButtons::kYesNo) != MsgResult::kYes)
      return;
  }
  std::string error;
  for (const auto& [path, bytes] :
       {std::pair{control, ControlFileBytes(page)}, std::pair{page, PageFileBytes(rubric)}}) {
    if (!WriteFile(path, bytes, error)) {
      messages.Show(parent,
                    QStringLiteral("Die Datei '") + Q(path) +
                        QStringLiteral("' kann nicht beschrieben werden.\n") + Q(error),
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
  const std::string control = ControlFilePath(folder);
  const std::string page = PageFilePath(folder);
  const bool controlExists = FileExists(control);
  const bool pageExists = FileExists(page);
  if (!controlExists && !pageExists) return;
  const QString question = QStringLiteral("Wollen Sie die vorhandenen Startdateien \n\n") +
                           BothPaths(control, page) + QStringLiteral("\n\nwirklich entfernen?");
  if (messages.Show(parent, question, MsgIcon::kQuestion, MsgButtons::kYesNo) != MsgResult::kYes)
    return;
  for (const auto& [path, exists] : {std::pair{control, controlExists}, std::pair{page, pageExists}}) {
    if (!exists) continue;
    if (std::remove(path.c_str()) != 0) {
      messages.Show(parent,
                    QStringLiteral("Beim Entfernen der Datei '") + Q(path) +
                        QStringLiteral("' ist folgender Fehler aufgetreten:\n") +
                        Q(std::strerror(errno)),
                    MsgIcon::kExclamation);
    }
  }
}

}  // namespace vn::config
