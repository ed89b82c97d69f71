// Texts that explain a record status and a notification reason, for the window's messages and
// the debug box.
#pragma once

#include <string>

namespace vn::config {

// One line per flag set in `status`, each preceded by a line break, in the flags' order.
std::string RecordStatusText(long status);

// The reason code of a notification as a word ("AddNew", "Move", ...; "Unkown" otherwise).
std::string GetADOEventReason(int reason);

}  // namespace vn::config
