#include "data/server_socket.h"

#ifdef _WIN32

namespace vn::data {

// Windows offers no list of a process's sockets: the watchdog falls back to the driver's
// cancel there.
int FindServerSocket(const std::string&, int, const std::string&, int) { return -1; }
void ShutDownServerSocket(int) {}

}  // namespace vn::data

#else

#include <arpa/inet.h>
#include <dirent.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <cstdlib>
#include <memory>

namespace vn::data {

namespace {

// Address and port of a TCP endpoint; false for other kinds of sockets.
bool Endpoint(const sockaddr_storage& address, std::string& text, int& port) {
  char buffer[INET6_ADDRSTRLEN] = {};
  if (address.ss_family == AF_INET) {
    const auto& in = reinterpret_cast<const sockaddr_in&>(address);
    if (inet_ntop(AF_INET, &in.sin_addr, buffer, sizeof buffer) == nullptr) return false;
    port = ntohs(in.sin_port);
  } else if (address.ss_family == AF_INET6) {
    const auto& in6 = reinterpret_cast<const sockaddr_in6&>(address);
    if (inet_ntop(AF_INET6, &in6.sin6_addr, buffer, sizeof buffer) == nullptr) return false;
    port = ntohs(in6.sin6_port);
  } else {
    return false;
  }
  text = buffer;
  return true;
}

// The server writes an address with its prefix length ("127.0.0.1/32").
std::string WithoutPrefix(const std::string& address) {
  return address.substr(0, address.find('/'));
}

bool Matches(int fd, const std::string& localAddress, int localPort,
             const std::string& remoteAddress, int remotePort) {
  sockaddr_storage local{};
  sockaddr_storage remote{};
  socklen_t localLength = sizeof local;
  socklen_t remoteLength = sizeof remote;
  if (getsockname(fd, reinterpret_cast<sockaddr*>(&local), &localLength) != 0 ||
      getpeername(fd, reinterpret_cast<sockaddr*>(&remote), &remoteLength) != 0) {
    return false;
  }
  std::string localText, remoteText;
  int lp = 0, rp = 0;
  return Endpoint(local, localText, lp) && Endpoint(remote, remoteText, rp) && lp == localPort &&
         rp == remotePort && localText == WithoutPrefix(localAddress) &&
         remoteText == WithoutPrefix(remoteAddress);
}

struct DirectoryCloser {
  void operator()(DIR* dir) const { closedir(dir); }
};

}  // namespace

int FindServerSocket(const std::string& localAddress, int localPort,
                     const std::string& remoteAddress, int remotePort) {
  std::unique_ptr<DIR, DirectoryCloser> dir(opendir("/proc/self/fd"));
  if (dir == nullptr) return -1;
  int found = -1;
  int count = 0;
  while (dirent* entry = readdir(dir.get())) {
    if (entry->d_name[0] < '0' || entry->d_name[0] > '9') continue;
    const int fd = std::atoi(entry->d_name);
    if (fd == dirfd(dir.get())) continue;
    if (Matches(fd, localAddress, localPort, remoteAddress, remotePort)) {
      found = fd;
      ++count;
    }
  }
  return count == 1 ? found : -1;
}

void ShutDownServerSocket(int socket) {
  if (socket >= 0) shutdown(socket, SHUT_RDWR);
}

}  // namespace vn::data

#endif  // _WIN32
