// clHTMLDumper: writes one HTML page line by line into a file (usually a fresh temporary file
// that the protocol handler streams later): the fixed head with the links to the page's
// stylesheet and scripts, whatever HTML it is handed, and the fixed end.
#pragma once

#include <string>
#include <string_view>

#include "platform/file_handle.h"

namespace vn {

class clHTMLDumper {
 public:
  clHTMLDumper();
  ~clHTMLDumper();
  clHTMLDumper(const clHTMLDumper&) = delete;
  clHTMLDumper& operator=(const clHTMLDumper&) = delete;

  // An empty HTMLDatei asks for a new temporary file; a non-empty sResourcePath replaces the
  // library folder in the resource paths. Opens the file for writing, replacing any content.
  // False (and no open file) on any failure.
  bool Init(const std::string& HTMLDatei, const std::string& sResourcePath);

  const std::string& TempFile() const { return fileName_; }

  // Lines 1-19 of the page with the given title.
  void DumpHeader(const std::string& Titel);

  // Appends the text (UTF-8) and CR LF, in Windows-1252 with character references for what it
  // cannot hold. Throws RuntimeError when the file is not open or cannot be written. The bytes
  // reach the file in large blocks, at the latest with DumpEnd.
  void Dump(std::string_view text);

  bool DIVWindoStarted() const { return divWindoStarted_; }
  void SetDIVWindoStarted(bool started) { divWindoStarted_ = started; }

  // Writes the page end and closes the file; throws RuntimeError when that fails.
  void DumpEnd();

 private:
  // Writes what is pending; throws RuntimeError when that fails.
  void Flush();
  void FlushQuietly() noexcept;

  std::string fileName_;
  std::string stylesheetPath_;
  std::string pollingScriptPath_;
  std::string plusMinusScriptPath_;
  std::string plusImagePath_;
  std::string minusImagePath_;
  bool divWindoStarted_ = false;
  FileHandle file_;
  std::string pending_;  // bytes not yet written
};

}  // namespace vn
