// The socket of a driver's connection to its database server, found by the addresses the
// server reports for it, so that a call blocked on a server that no longer answers can be
// ended from another thread.
#pragma once

#include <string>

namespace vn::data {

// The one open TCP socket of this process from `localAddress`:`localPort` to
// `remoteAddress`:`remotePort` (numeric addresses as the server writes them); -1 when there is
// none or more than one, or the system offers no way to look.
int FindServerSocket(const std::string& localAddress, int localPort,
                     const std::string& remoteAddress, int remotePort);

// Shuts the socket down in both directions: a call waiting on it returns with a broken
// connection. The descriptor stays open (its owner, the driver, closes it).
void ShutDownServerSocket(int socket);

}  // namespace vn::data
