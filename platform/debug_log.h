// The library's debug log: a per-thread switch and DPrint, which appends "hh-mm-ss: text"
// lines (the ANSI code page, CR LF) to debug.log in the library folder, or in the user's own
// folders when the library folder takes none, while the switch is on.
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
// owner only. The line goes to debug.log in the library folder; where that cannot be written (a
// standard user below the program files), to UserDebugLog(); where neither can, it is dropped.
// Never fails: a diagnostic switch must not change the pages.
void DPrint(const std::string& text) noexcept;

// Where the log goes when the library folder takes none: %LOCALAPPDATA%\Varnolis\debug.log on
// Windows, $XDG_STATE_HOME/varnolis/debug.log (default ~/.local/state) on Linux; "" when the
// system names no such folder.
std::string UserDebugLog();

}  // namespace vn
