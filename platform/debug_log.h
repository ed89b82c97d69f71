// The library's debug log: a per-thread switch and DPrint, which appends "hh-mm-ss: text"
// lines (Windows-1252, CR LF) to debug.log in the library folder while the switch is on.
#pragma once

#include <string>
#include <string_view>

namespace vn {

// The switch of the calling thread; off until something sets it.
bool DebugSwitch();
void SetDebugSwitch(bool on);

// Whether a value of the setting "Optionen"/"Debug" switches the log on: the number at the start
// of the text (blanks before it skipped, a sign and a decimal part allowed) is not zero. "1",
// "2" and "1x" switch it on; "0", "", "ja" and "x1" do not.
bool DebugSettingIsOn(std::string_view setting);

// Writes one line when the switch is on, with the passwords of connection strings hidden
// (MaskPasswords); opens and closes the file for every line and creates it readable by its
// owner only. A file that cannot be opened or written throws RuntimeError (the caller's failure
// path applies).
void DPrint(const std::string& text);

}  // namespace vn
