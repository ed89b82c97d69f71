#include "act/act_standin.h"

namespace vn {

// ACT! does not run on Linux: the stand-in file plays it.
ACTAutomation DefaultACTAutomation() { return StandInAutomation(); }

// A page reads the file once: one look at ACT!, as on Windows, and one read of the file.
ACTAutomation PageACTAutomation() { return StandInAutomation({}, StandInReads::kOnce); }

}  // namespace vn
