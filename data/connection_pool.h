// ConnectionPool: database sessions kept open after their connection closed, handed out again to
// the next connection with the same key (ADO's resource pooling). Idle sessions are closed after
// a minute, beyond a few per key, and when the library is let go (ClosePooledConnections); one
// given back as its user left it is tidied on the pool's thread once it has been idle a while.
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
  // Whether the session still holds what its last user left in it.
  virtual bool Untidy() const { return false; }
  // Resets what the last user left; false when the session cannot be reset and must close.
  // Called on the pool's thread while the session is in nobody else's hands.
  virtual bool Tidy() noexcept { return true; }
};

class ConnectionPool {
 public:
  // ADO's default: a session idle for a minute is closed.
  static constexpr std::chrono::milliseconds kIdleLimit{60000};
  // Idle sessions kept per key; one given back beyond them is closed at once.
  static constexpr std::size_t kIdlePerKey = 10;
  // An untidy session idle this long is tidied by the pool's thread. Sooner, and the next entry
  // of the same page (which tidies it itself, in the round trip of its first command) would
  // find it busy; later, and what its user left (an open transaction, its locks) stays longer.
  static constexpr std::chrono::milliseconds kTidyAfter{1000};

  // The process's pool, which every connection uses.
  static ConnectionPool& Shared();

  explicit ConnectionPool(std::chrono::milliseconds idleLimit = kIdleLimit,
                          std::size_t idlePerKey = kIdlePerKey,
                          std::chrono::milliseconds tidyAfter = kTidyAfter);
  ~ConnectionPool();
  ConnectionPool(const ConnectionPool&) = delete;
  ConnectionPool& operator=(const ConnectionPool&) = delete;

  // The idle session that was given back last for `key`, now the caller's; null when there is
  // none. Waits while the key's only sessions are being tidied.
  std::unique_ptr<PooledSession> Take(const std::string& key);
  // Keeps `session` idle for the next Take of `key`.
  void Give(const std::string& key, std::unique_ptr<PooledSession> session);
  // Closes every idle session and ends the thread that closes them when they time out.
  void CloseIdle();
  std::size_t IdleCount() const;

  // How long a session may stay idle before it is closed; a session idle longer than a new
  // limit closes at once. Tests shorten it to see idle sessions close without waiting a minute.
  std::chrono::milliseconds IdleLimit() const;
  void SetIdleLimit(std::chrono::milliseconds limit);

 private:
  struct Idle {
    std::string key;
    std::unique_ptr<PooledSession> session;
    std::chrono::steady_clock::time_point since;
  };
  void Expire(unsigned generation);
  // Tidies `idle`, taken out of the list, with the lock let go meanwhile; puts it back in its
  // place when that worked and the pool was not closed meanwhile, else closes it.
  void TidyOutside(std::unique_lock<std::mutex>& lock, Idle idle, unsigned generation);

  std::chrono::milliseconds idleLimit_;  // under mutex_
  const std::size_t idlePerKey_;
  const std::chrono::milliseconds tidyAfter_;
  mutable std::mutex mutex_;
  std::condition_variable wake_;
  std::condition_variable tidied_;
  std::list<Idle> idle_;            // oldest first
  std::list<std::string> tidying_;  // the keys of the sessions being tidied
  std::thread expirer_;
  std::chrono::steady_clock::time_point wakeAt_;  // when the running expirer looks again
  bool expiring_ = false;    // an expirer of this generation runs (it ends once nothing is idle)
  unsigned generation_ = 0;  // of the expirer; CloseIdle ends the running one by counting on
};

// Closes the idle sessions of the shared pool: for the library's unloading, when nothing of it
// is in use any more.
void ClosePooledConnections() noexcept;

}  // namespace vn::data
