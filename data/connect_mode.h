// ConnectMode: how a connection may use its database (ADO's ConnectModeEnum, the values the
// layer honours).
#pragma once

namespace vn::data {

enum ConnectMode : int { adModeUnknown = 0, adModeRead = 1, adModeWrite = 2, adModeReadWrite = 3 };

}  // namespace vn::data
