// ConnectionPool: database sessions kept open after their connection closed, handed out again to
// the next connection with the same key (ADO's resource pooling). Idle sessions are closed after
// a minute, beyond a few per key, and when the library is let go (ClosePooledConnections).
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <list>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace vn::data {

// A provider's open session as the pool keeps it; destroying it closes the session.
class PooledSession {
 public:
  virtual ~PooledSession() = default;
};

class ConnectionPool {
 public:
  // ADO's default: a session idle for a minute is closed.
  static constexpr std::chrono::milliseconds kIdleLimit{60000};
  // Idle sessions kept per key; one given back beyond them is closed at once.
  static constexpr std::size_t kIdlePerKey = 10;

  // The process's pool, which every connection uses.
  static ConnectionPool& Shared();

  explicit ConnectionPool(std::chrono::milliseconds idleLimit = kIdleLimit,
                          std::size_t idlePerKey = kIdlePerKey);
  ~ConnectionPool();
  ConnectionPool(const ConnectionPool&) = delete;
  ConnectionPool& operator=(const ConnectionPool&) = delete;

  // The idle session that was given back last for `key`, now the caller's; null when there is
  // none.
  std::unique_ptr<PooledSession> Take(const std::string& key);
  // Keeps `session` idle for the next Take of `key`.
  void Give(const std::string& key, std::unique_ptr<PooledSession> session);
  // Closes every idle session and ends the thread that closes them when they time out.
  void CloseIdle();
  std::size_t IdleCount() const;

 private:
  struct Idle {
    std::string key;
    std::unique_ptr<PooledSession> session;
    std::chrono::steady_clock::time_point since;
  };
  void Expire(unsigned generation);

  const std::chrono::milliseconds idleLimit_;
  const std::size_t idlePerKey_;
  mutable std::mutex mutex_;
  std::condition_variable wake_;
  std::list<Idle> idle_;  // oldest first
  std::thread expirer_;
  bool expiring_ = false;    // an expirer of this generation runs (it ends once nothing is idle)
  unsigned generation_ = 0;  // of the expirer; CloseIdle ends the running one by counting on
};

// Closes the idle sessions of the shared pool: for the library's unloading, when nothing of it
// is in use any more.
void ClosePooledConnections() noexcept;

}  // namespace vn::data
