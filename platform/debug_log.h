// The library's debug log: a per-thread switch and DPrint, which appends "hh-mm-ss: text"
// lines (Windows-1252, CR LF) to debug.log in the library folder while the switch is on.
#pragma once

#include <string>

namespace vn {

// The switch of the calling thread; off until something sets it.
bool DebugSwitch();
void SetDebugSwitch(bool on);

// Writes one line when the switch is on; opens and closes the file for every line. A file that
// cannot be opened or written throws RuntimeError (the caller's failure path applies).
void DPrint(const std::string& text);

}  // namespace vn
