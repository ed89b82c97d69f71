// The automation layer over the ACT! stand-in file: the window list and the "ACTOLE.APPOBJECT"
// automation object answer from the file, read afresh for every call. No file: no ACT! window.
#pragma once

#include <string>

#include "act/automation.h"
#include "act/standin_file.h"

namespace vn {

// The stand-in at `path`; an empty path follows VARNOLIS_ACT and the default at every call.
ACTAutomation StandInAutomation(const std::string& path = {},
                                StandInReads reads = StandInReads::kEveryCall);

// What clACTApplication runs over unless it is given another layer: the stand-in on Linux,
// the desktop's windows and ACT!'s automation object on Windows.
ACTAutomation DefaultACTAutomation();

// What the bridge of one page runs over: on Linux the stand-in read once for the whole page,
// on Windows the default layer.
ACTAutomation PageACTAutomation();

}  // namespace vn
