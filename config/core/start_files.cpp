#include "config/core/start_files.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "config/core/error_texts.h"
#include "config/core/prompts.h"
#include "config/core/texts.h"
#include "platform/codepage.h"
#include "platform/file_io.h"
#include "platform/path_separator.h"
#include "platform/url_escape.h"

namespace vn::config {

namespace {

std::string Lines(std::initializer_list<std::string> lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return Utf8ToAnsi(text, Unmappable::kQuestionMark);
}

// The system's error text for `error`, with what to do about the common ones.
std::string SystemErrorText(int error) { return UserFileErrorText(error, std::strerror(error)); }

// Writes `bytes` to `path` (created or truncated); the system's error number on failure.
bool WriteFile(const std::string& path, const std::string& bytes, int& error) {
  std::FILE* file = vn::OpenFileForWriting(path);
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
bool FolderGiven(const std::string& folder, Prompts& prompts) {
  if (!folder.empty()) return true;
  prompts.Message(texts::kNetLinksNotFound, MsgIcon::kInformation);
  return false;
}

}  // namespace

bool DirExists(const std::string& path) { return vn::IsDirectory(path + VN_PATH_SEP "."); }

bool FileExists(const std::string& path) { return !path.empty() && vn::IsRegularFile(path); }

std::string ControlFilePath(const std::string& folder) {
  return folder + VN_PATH_SEP "Varnolis.ctl";
}
std::string PageFilePath(const std::string& folder) { return folder + VN_PATH_SEP "Varnolis.htm"; }

std::string ControlFileBytes(const std::string& pagePath) {
  return Lines({"ACT! Browser Control File Version 1.00", "[VIEW]", "Type = CONTACTTAB",
                "STARTURL=\"" + pagePath + "\"", "TITLE=\"Var&nolis\"", "PRIORITY=0", ""});
}

std::string RubricUrlSegment(const std::string& rubric) {
  return UrlEscapeName(rubric, NonAscii::kEscape);
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

void CreateStartFiles(const std::string& folder, const std::string& rubric, Prompts& prompts) {
  if (!FolderGiven(folder, prompts)) return;
  const std::string control = ControlFilePath(folder);
  const std::string page = PageFilePath(folder);
  if (FileExists(control) && FileExists(page)) {
    if (prompts.Message(texts::OverwriteStartFilesQuestion(control, page), MsgIcon::kQuestion,
                        MsgButtons::kYesNo) != MsgResult::kYes)
      return;
  }
  int error = 0;
  for (const auto& [path, bytes] :
       {std::pair{control, ControlFileBytes(page)}, std::pair{page, PageFileBytes(rubric)}}) {
    if (!WriteFile(path, bytes, error)) {
      prompts.Message(texts::CannotWriteFile(path, SystemErrorText(error)), MsgIcon::kExclamation);
      return;
    }
  }
  prompts.Message(texts::StartFilesCreated(control, page), MsgIcon::kInformation);
}

void RemoveStartFiles(const std::string& folder, Prompts& prompts) {
  if (!FolderGiven(folder, prompts)) return;
  const std::string control = ControlFilePath(folder);
  const std::string page = PageFilePath(folder);
  const bool controlExists = FileExists(control);
  const bool pageExists = FileExists(page);
  if (!controlExists && !pageExists) return;
  if (prompts.Message(texts::RemoveStartFilesQuestion(control, page), MsgIcon::kQuestion,
                      MsgButtons::kYesNo) != MsgResult::kYes)
    return;
  for (const auto& [path, exists] :
       {std::pair{control, controlExists}, std::pair{page, pageExists}}) {
    if (!exists) continue;
    if (!vn::RemoveFile(path))
      prompts.Message(texts::CannotRemoveFile(path, SystemErrorText(errno)), MsgIcon::kExclamation);
  }
}

}  // namespace vn::config
