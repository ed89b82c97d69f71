#include "data/connection_pool.h"

#include <algorithm>
#include <exception>
#include <vector>

namespace vn::data {

ConnectionPool& ConnectionPool::Shared() {
  static ConnectionPool pool;
  return pool;
}

ConnectionPool::ConnectionPool(std::chrono::milliseconds idleLimit, std::size_t idlePerKey,
                               std::chrono::milliseconds tidyAfter)
    : idleLimit_(idleLimit), idlePerKey_(idlePerKey), tidyAfter_(tidyAfter) {}

ConnectionPool::~ConnectionPool() {
#ifdef _WIN32
  // Reached at process end under the loader lock, where no thread may be waited for and no
  // driver called: the sessions end with the process. DllCanUnloadNow has closed them when
  // the library was let go before.
  if (expirer_.joinable()) expirer_.detach();
  for (Idle& idle : idle_) static_cast<void>(idle.session.release());
#else
  CloseIdle();
#endif
}

std::unique_ptr<PooledSession> ConnectionPool::Take(const std::string& key) {
  std::unique_lock lock(mutex_);
  for (;;) {
    for (auto it = idle_.rbegin(); it != idle_.rend(); ++it) {
      if (it->key == key) {
        std::unique_ptr<PooledSession> session = std::move(it->session);
        idle_.erase(std::next(it).base());
        return session;
      }
    }
    // A session being tidied is back in a round trip; a new connection takes far longer.
    if (std::find(tidying_.begin(), tidying_.end(), key) == tidying_.end()) return nullptr;
    tidied_.wait(lock);
  }
}

void ConnectionPool::Give(const std::string& key, std::unique_ptr<PooledSession> session) {
  std::unique_ptr<PooledSession> surplus;  // closed outside the lock: closing talks to the server
  std::lock_guard lock(mutex_);
  std::size_t sameKey = 0;
  for (const Idle& idle : idle_) sameKey += idle.key == key ? 1 : 0;
  if (sameKey >= idlePerKey_) {
    surplus = std::move(session);
    return;
  }
  const auto now = std::chrono::steady_clock::now();
  const bool untidy = session->Untidy();
  idle_.push_back({key, std::move(session), now});
  // A running expirer sleeps until its next task; one for this session may come sooner.
  if (expiring_ && untidy && now + tidyAfter_ < wakeAt_) wake_.notify_one();
  if (!expiring_) {
    // A previous expirer has ended once it found nothing idle; only its thread is left to join.
    if (expirer_.joinable()) expirer_.join();
    expiring_ = true;
    expirer_ = std::thread([this, generation = generation_] { Expire(generation); });
  }
}

void ConnectionPool::Expire(unsigned generation) {
  std::unique_lock lock(mutex_);
  while (generation == generation_ && !idle_.empty()) {
    const auto now = std::chrono::steady_clock::now();
    std::vector<std::unique_ptr<PooledSession>> expired;
    while (!idle_.empty() && now - idle_.front().since >= idleLimit_) {
      expired.push_back(std::move(idle_.front().session));
      idle_.pop_front();
    }
    if (!expired.empty()) {
      lock.unlock();
      expired.clear();
      lock.lock();
      continue;
    }
    auto wake = idle_.front().since + idleLimit_;
    const auto untidy = std::find_if(idle_.begin(), idle_.end(),
                                     [](const Idle& idle) { return idle.session->Untidy(); });
    if (untidy != idle_.end()) {
      if (now - untidy->since >= tidyAfter_) {
        Idle taken = std::move(*untidy);
        idle_.erase(untidy);
        TidyOutside(lock, std::move(taken), generation);
        continue;
      }
      wake = std::min(wake, untidy->since + tidyAfter_);
    }
    wakeAt_ = wake;
    wake_.wait_until(lock, wake);
  }
  if (generation == generation_) expiring_ = false;
}

void ConnectionPool::TidyOutside(std::unique_lock<std::mutex>& lock, Idle idle,
                                 unsigned generation) {
  tidying_.push_back(idle.key);
  lock.unlock();
  const bool tidy = idle.session->Tidy();
  lock.lock();
  tidying_.erase(std::find(tidying_.begin(), tidying_.end(), idle.key));
  std::unique_ptr<PooledSession> closing;
  if (tidy && generation == generation_) {
    const auto place = std::find_if(idle_.begin(), idle_.end(),
                                    [&](const Idle& other) { return other.since > idle.since; });
    idle_.insert(place, std::move(idle));
  } else {
    closing = std::move(idle.session);
  }
  tidied_.notify_all();
  if (closing) {
    // Closing talks to the server: not under the lock.
    lock.unlock();
    closing.reset();
    lock.lock();
  }
}

void ConnectionPool::CloseIdle() {
  std::list<Idle> closing;
  std::thread expirer;
  {
    std::lock_guard lock(mutex_);
    closing.swap(idle_);
    // The running expirer ends; a session given back from now on starts a new one.
    ++generation_;
    expiring_ = false;
    expirer = std::move(expirer_);
  }
  wake_.notify_all();
  if (expirer.joinable()) expirer.join();
  closing.clear();
}

std::size_t ConnectionPool::IdleCount() const {
  std::lock_guard lock(mutex_);
  return idle_.size();
}

std::chrono::milliseconds ConnectionPool::IdleLimit() const {
  std::lock_guard lock(mutex_);
  return idleLimit_;
}

void ConnectionPool::SetIdleLimit(std::chrono::milliseconds limit) {
  {
    std::lock_guard lock(mutex_);
    idleLimit_ = limit;
  }
  wake_.notify_all();  // a running expirer looks again with the new limit
}

void ClosePooledConnections() noexcept {
  try {
    ConnectionPool::Shared().CloseIdle();
  } catch (const std::exception&) {
    // Only waiting for the expirer can fail; the sessions are closed by then.
  }
}

}  // namespace vn::data
