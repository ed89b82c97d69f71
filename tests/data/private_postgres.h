// A PostgreSQL server of the tests' own on 127.0.0.1, which a test may restart and reconfigure
// without disturbing the server that .ci/postgres.sh starts for the other tests; it reaches its
// driver through that script's registration (ODBCSYSINI).
#pragma once

#ifndef _WIN32
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace vn::data::test {

class PrivatePostgres {
 public:
  PrivatePostgres() = default;
  ~PrivatePostgres() { Stop(); }
  PrivatePostgres(const PrivatePostgres&) = delete;
  PrivatePostgres& operator=(const PrivatePostgres&) = delete;

  // Creates and starts the server with the role and database vn_test; an empty result, or why
  // no server could be started.
  std::string Start() {
    if (std::getenv("ODBCSYSINI") == nullptr) return "no driver registration (ODBCSYSINI)";
    for (const auto& version : std::filesystem::directory_iterator("/usr/lib/postgresql")) {
      if (std::filesystem::exists(version.path() / "bin/initdb")) bin_ = version.path() / "bin";
    }
    if (bin_.empty()) return "no PostgreSQL server binaries";
    char pattern[] = "/tmp/vn-pool-pg-XXXXXX";
    if (mkdtemp(pattern) == nullptr) return "no folder";
    folder_ = pattern;
    port_ = FreePort();
    const std::string owner = geteuid() == 0 ? "runuser -u postgres -- " : "";
    if (geteuid() == 0 && !Run("chown postgres " + folder_)) return "cannot hand the folder over";
    if (!Run(owner + (bin_ / "initdb").string() + " -D " + folder_ +
             "/data -U vn_admin -E UTF8 --no-locale --auth-local=trust --auth-host=trust")) {
      return "initdb failed";
    }
    ctl_ = owner + (bin_ / "pg_ctl").string() + " -D " + folder_ + "/data -w -t 60 ";
    if (!Run(ctl_ + "-l " + folder_ + "/server.log -o \"-c listen_addresses=127.0.0.1 -p " +
             std::to_string(port_) + " -k " + folder_ + " -c fsync=off\" start")) {
      return "the server did not start";
    }
    started_ = true;
    if (!Admin("CREATE ROLE vn_test LOGIN") ||
        !Admin("CREATE DATABASE vn_test OWNER vn_test ENCODING 'UTF8' TEMPLATE template0")) {
      return "cannot create the test database";
    }
    return {};
  }

  // Stops the server the fast way (its sessions are ended) and starts it again.
  bool Restart() { return Run(ctl_ + "-m fast restart"); }

  // Runs `sql` as the superuser in the database `database`.
  bool Admin(const std::string& sql, const std::string& database = "postgres") {
    return Run((bin_ / "psql").string() + " -q -X -h " + folder_ + " -p " + std::to_string(port_) +
               " -U vn_admin -d " + database + " -v ON_ERROR_STOP=1 -c \"" + sql + "\"");
  }

  // The file the server writes its log into.
  std::string LogFile() const { return folder_ + "/server.log"; }

  // The ODBC connection string of the test database, with `extra` pairs.
  std::string Odbc(const std::string& extra = {}) const {
    return "Driver={PostgreSQL Unicode};Server=127.0.0.1;Port=" + std::to_string(port_) +
           ";Database=vn_test;UID=vn_test" + (extra.empty() ? "" : ";" + extra);
  }

 private:
  static bool Run(const std::string& command) {
    return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
  }

  static int FreePort() {
    int s = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    int port = 54400;
    if (bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        getsockname(s, reinterpret_cast<sockaddr*>(&address), &length) == 0) {
      port = ntohs(address.sin_port);
    }
    close(s);
    return port;
  }

  void Stop() {
    if (started_) Run(ctl_ + "-m immediate stop");
    started_ = false;
    std::error_code ignored;  // a folder left in /tmp fails no test
    if (!folder_.empty()) std::filesystem::remove_all(folder_, ignored);
  }

  std::filesystem::path bin_;
  std::string folder_;
  std::string ctl_;
  int port_ = 0;
  bool started_ = false;
};

}  // namespace vn::data::test
