#include "act/act_standin.h"

namespace vn {

// ACT! does not run on Linux: the stand-in file plays it.
ACTAutomation DefaultACTAutomation() { return StandInAutomation(); }

}  // namespace vn
