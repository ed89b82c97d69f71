// The pool itself (which session a key gets back, how many it keeps, when idle ones close) and
// the connection-string pairs that switch it off for one connection.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "data/connect_options.h"
#include "data/connection_pool.h"
#include "data/errors.h"
#include "data_test_support.h"

namespace vn::data::test {
namespace {

using namespace std::chrono_literals;

// A session that counts its closing.
class CountedSession : public PooledSession {
 public:
  CountedSession(int id, std::atomic<int>& closed) : id_(id), closed_(closed) {}
  ~CountedSession() override { ++closed_; }
  int id_;

 private:
  std::atomic<int>& closed_;
};

std::unique_ptr<PooledSession> Session(int id, std::atomic<int>& closed) {
  return std::make_unique<CountedSession>(id, closed);
}

int IdOf(const std::unique_ptr<PooledSession>& session) {
  return session ? static_cast<CountedSession&>(*session).id_ : 0;
}

TEST(ConnectionPoolTest, AKeyGetsBackItsLastIdleSessionAndNoOtherKeys) {
  std::atomic<int> closed{0};
  ConnectionPool pool;
  pool.Give("a", Session(1, closed));
  pool.Give("b", Session(2, closed));
  pool.Give("a", Session(3, closed));
  EXPECT_EQ(IdOf(pool.Take("c")), 0);
  EXPECT_EQ(IdOf(pool.Take("a")), 3);
  EXPECT_EQ(IdOf(pool.Take("a")), 1);
  EXPECT_EQ(IdOf(pool.Take("a")), 0);
  EXPECT_EQ(pool.IdleCount(), 1u);
  EXPECT_EQ(closed, 2);  // the two taken ones, gone with their owners here
  pool.CloseIdle();
  EXPECT_EQ(closed, 3);
  EXPECT_EQ(pool.IdleCount(), 0u);
}

TEST(ConnectionPoolTest, KeepsABoundedNumberPerKey) {
  std::atomic<int> closed{0};
  ConnectionPool pool(60s, 2);
  for (int id = 1; id <= 4; ++id) pool.Give("a", Session(id, closed));
  pool.Give("b", Session(5, closed));
  EXPECT_EQ(closed, 2);
  EXPECT_EQ(pool.IdleCount(), 3u);
}

TEST(ConnectionPoolTest, IdleSessionsCloseAfterTheIdleTimeAndThePoolServesOnAfterCloseIdle) {
  std::atomic<int> closed{0};
  ConnectionPool pool(200ms);
  pool.Give("a", Session(1, closed));
  std::this_thread::sleep_for(100ms);
  pool.Give("a", Session(2, closed));
  for (int i = 0; i < 100 && closed < 1; ++i) std::this_thread::sleep_for(10ms);
  EXPECT_EQ(closed, 1);  // the older one only
  EXPECT_EQ(pool.IdleCount(), 1u);
  for (int i = 0; i < 100 && closed < 2; ++i) std::this_thread::sleep_for(10ms);
  EXPECT_EQ(closed, 2);
  EXPECT_EQ(pool.IdleCount(), 0u);

  // Once everything idle has closed, a session given back starts the clock again.
  pool.Give("a", Session(3, closed));
  pool.CloseIdle();
  EXPECT_EQ(closed, 3);
  pool.Give("a", Session(4, closed));
  for (int i = 0; i < 100 && closed < 4; ++i) std::this_thread::sleep_for(10ms);
  EXPECT_EQ(closed, 4);
}

TEST(ConnectionPoolTest, ALimitSetWhileSessionsAreIdleTakesEffectAtOnce) {
  EXPECT_EQ(ConnectionPool::Shared().IdleLimit(), 60s);  // ADO's, unless a test sets another
  std::atomic<int> closed{0};
  ConnectionPool pool;
  pool.Give("a", Session(1, closed));
  pool.SetIdleLimit(0ms);  // the expirer, asleep for a minute, looks again
  for (int i = 0; i < 100 && closed < 1; ++i) std::this_thread::sleep_for(10ms);
  EXPECT_EQ(closed, 1);
  EXPECT_EQ(pool.IdleCount(), 0u);
  pool.SetIdleLimit(60s);
  pool.Give("a", Session(2, closed));
  std::this_thread::sleep_for(50ms);
  EXPECT_EQ(closed, 1);
  EXPECT_EQ(pool.IdleCount(), 1u);
  pool.CloseIdle();
}

TEST(ConnectionPoolTest, ThreadsGiveAndTakeWithoutLosingASession) {
  std::atomic<int> closed{0};
  ConnectionPool pool(60s, 100);
  std::vector<std::thread> threads;
  for (int t = 0; t < 8; ++t) {
    threads.emplace_back([&, t] {
      for (int i = 0; i < 2000; ++i) {
        auto session = pool.Take("k");
        if (!session) session = Session(t * 10000 + i + 1, closed);
        pool.Give("k", std::move(session));
      }
    });
  }
  for (auto& thread : threads) thread.join();
  // Every session made is either idle or closed; at most one per thread was ever made at once.
  EXPECT_LE(pool.IdleCount(), 8u);
  EXPECT_EQ(closed, 0);
  pool.CloseIdle();
}

// A session given back untidy; tidying it takes a while and works or not.
class UntidySession : public CountedSession {
 public:
  UntidySession(int id, std::atomic<int>& closed, bool tidies)
      : CountedSession(id, closed), tidies_(tidies) {}
  bool Untidy() const override { return untidy_; }
  bool Tidy() noexcept override {
    std::this_thread::sleep_for(150ms);
    untidy_ = !tidies_;
    return tidies_;
  }

 private:
  const bool tidies_;
  bool untidy_ = true;
};

TEST(ConnectionPoolTest, AnUntidySessionIsTidiedWhenIdleAWhileAndATakeWaitsForIt) {
  std::atomic<int> closed{0};
  ConnectionPool pool(60s, 10, 100ms);
  pool.Give("a", std::make_unique<UntidySession>(1, closed, true));
  // Taken before it has been idle long enough: as it was given back, for its taker to tidy.
  auto early = pool.Take("a");
  ASSERT_EQ(IdOf(early), 1);
  EXPECT_TRUE(early->Untidy());
  pool.Give("a", std::move(early));

  std::this_thread::sleep_for(160ms);  // the pool's thread is tidying "a" now
  auto tidied = pool.Take("a");
  ASSERT_EQ(IdOf(tidied), 1) << "the take did not wait for the session being tidied";
  EXPECT_FALSE(tidied->Untidy());
  // A session that cannot be tidied is closed.
  pool.Give("b", std::make_unique<UntidySession>(2, closed, false));
  for (int i = 0; i < 100 && closed < 1; ++i) std::this_thread::sleep_for(10ms);
  EXPECT_EQ(closed, 1);
  EXPECT_EQ(IdOf(pool.Take("b")), 0);
  tidied.reset();
  pool.CloseIdle();
}

ConnectOptions OptionsOf(const std::string& text, ConnectionString* rest = nullptr) {
  ConnectionString cs(text);
  ConnectOptions options = TakeConnectOptions(cs, adModeRead);
  if (rest != nullptr) *rest = cs;
  return options;
}

TEST(ConnectionPoolTest, OleDbServicesAndPoolingSwitchItOffPerConnection) {
  EXPECT_TRUE(OptionsOf("DSN=x").pooling);
  // ADO's mask: bit 1 is resource pooling.
  EXPECT_TRUE(OptionsOf("DSN=x;OLE DB Services=-1").pooling);
  EXPECT_TRUE(OptionsOf("DSN=x;OLE DB Services=-5").pooling);  // all but the client cursor
  EXPECT_FALSE(OptionsOf("DSN=x;OLE DB Services=-2").pooling);
  EXPECT_FALSE(OptionsOf("DSN=x;OLE DB Services=-4").pooling);
  EXPECT_FALSE(OptionsOf("DSN=x;ole db services = 0").pooling);
  EXPECT_FALSE(OptionsOf("DSN=x;Pooling=false").pooling);
  EXPECT_FALSE(OptionsOf("DSN=x;pooling=No").pooling);
  EXPECT_TRUE(OptionsOf("DSN=x;Pooling=True").pooling);
  EXPECT_FALSE(OptionsOf("DSN=x;OLE DB Services=-2;Pooling=true").pooling);
  EXPECT_FALSE(OptionsOf("DSN=x;OLE DB Services=-1;Pooling=false").pooling);

  // The pairs are the layer's, not the driver's.
  ConnectionString rest;
  OptionsOf("DSN=x;OLE DB Services=-2;Pooling=false;UID=u", &rest);
  EXPECT_EQ(rest.OdbcText(), "DSN=x;UID=u;");

  for (const char* bad :
       {"DSN=x;OLE DB Services=off", "DSN=x;OLE DB Services=", "DSN=x;Pooling=2"}) {
    SCOPED_TRACE(bad);
    try {
      OptionsOf(bad);
      ADD_FAILURE() << "no error";
    } catch (const RuntimeError& e) {
      EXPECT_EQ(e.Number(), kErrInvalidArgument);
    }
  }
}

}  // namespace
}  // namespace vn::data::test
