// ConnectOptions: what a connection asks of its provider besides the connection string: its
// mode, ADO's two timeouts and whether its session may be pooled, taken from the connection
// string's `Mode=`, `Connect Timeout=`, `Command Timeout=`, `OLE DB Services=` and `Pooling=`
// pairs (which the providers do not pass on).
#pragma once

#include "data/connect_mode.h"
#include "data/connection_string.h"

namespace vn::data {

struct ConnectOptions {
  // The database may only be read (adModeRead, or `Mode=Read`).
  bool readOnly = false;
  // Seconds a provider may take to open the connection and to answer one call of a command
  // (executing it, delivering the next row); 0 waits without limit. ADO's defaults.
  int connectTimeout = 15;
  int commandTimeout = 30;
  // The session may be kept open for the next connection with the same string, as ADO's
  // resource pooling does; `OLE DB Services` without its pooling bit (-2, 0) or
  // `Pooling=false` turn it off.
  bool pooling = true;
};

// The options of a connection opened in `mode` (a ConnectMode) on `connectionString`; the
// timeout and pooling pairs are removed from it. A timeout that is no whole number of seconds
// from 0 on, an `OLE DB Services` that is no number or a `Pooling` that is no Boolean throws
// RuntimeError 3001.
ConnectOptions TakeConnectOptions(ConnectionString& connectionString, int mode);

}  // namespace vn::data
