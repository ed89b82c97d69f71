// Pooled sessions against a server of the test's own (Linux: the test starts, restarts and
// reconfigures it, and reads its log): a restart or an idle timeout of the server between two
// pages costs the second page nothing, the resets between entries leave nothing in the server's
// log, and eight threads building pages at once share the pool without mixing their pages, with
// no more sessions than entries running at once, none left once they have been idle for the
// pool's idle limit, and no descriptors lost.
#ifndef _WIN32
#include <atomic>
#include <filesystem>
#include <thread>
#include <vector>

#include "data/connection_pool.h"
#include "pool_test_support.h"
#include "private_postgres.h"

namespace vn::data::test {
namespace {

class PoolServerLossLinuxTest : public DataTest {
 protected:
  static void SetUpTestSuite() {
    if (PostgresOdbc().empty()) return;
    server_ = new PrivatePostgres();
    why_ = server_->Start();
    if (why_.empty() && !server_->Admin(kRubricTables, "vn_test")) why_ = "no rubric tables";
  }
  static void TearDownTestSuite() {
    ClosePooledConnections();
    delete server_;
    server_ = nullptr;
  }
  void SetUp() override {
    VN_SKIP_WITHOUT_POSTGRES();
    if (!why_.empty()) GTEST_SKIP() << "no server of the test's own: " << why_;
    DataTest::SetUp();
    ClosePooledConnections();
  }
  void TearDown() override {
    ConnectionPool::Shared().SetIdleLimit(ConnectionPool::kIdleLimit);
    ClosePooledConnections();
    if (!PostgresOdbc().empty() && why_.empty()) DataTest::TearDown();
  }

  static int OpenDescriptors() {
    int count = 0;
    for ([[maybe_unused]] const auto& entry :
         std::filesystem::directory_iterator("/proc/self/fd")) {
      ++count;
    }
    return count;
  }

  static PrivatePostgres* server_;
  static std::string why_;
};

PrivatePostgres* PoolServerLossLinuxTest::server_ = nullptr;
std::string PoolServerLossLinuxTest::why_;

TEST_F(PoolServerLossLinuxTest, APageAfterARestartOfTheServerIsComplete) {
  const std::string c = server_->Odbc("pqopt=application_name=vn_pool_restart");
  EXPECT_EQ(RubricPage(c), kRubricPage);
  ASSERT_TRUE(server_->Restart());
  EXPECT_EQ(RubricPage(c), kRubricPage);
  EXPECT_EQ(Sessions(c, "vn_pool_restart"), 1);
}

TEST_F(PoolServerLossLinuxTest, APageAfterTheServerEndedIdleSessionsIsComplete) {
  ASSERT_TRUE(server_->Admin("ALTER ROLE vn_test SET idle_session_timeout = '300ms'"));
  const std::string c = server_->Odbc("pqopt=application_name=vn_pool_idle");
  EXPECT_EQ(RubricPage(c), kRubricPage);
  EXPECT_EQ(SessionsSettled(c, "vn_pool_idle", 0), 0);  // ended by the server
  EXPECT_EQ(RubricPage(c), kRubricPage);
  ASSERT_TRUE(server_->Admin("ALTER ROLE vn_test RESET idle_session_timeout"));
}

TEST_F(PoolServerLossLinuxTest, ResetsBetweenEntriesLeaveNothingInTheServersLog) {
  const std::string c = server_->Odbc("pqopt=application_name=vn_pool_log");
  EXPECT_EQ(RubricPage(c), kRubricPage);
  EXPECT_EQ(RubricPage(c), kRubricPage);
  EXPECT_EQ(Sessions(c, "vn_pool_log"), 1);  // every entry but the first took a used session
  const std::string log = ReadFile(server_->LogFile());
  EXPECT_EQ(log.find("WARNING"), std::string::npos) << log;
}

TEST_F(PoolServerLossLinuxTest, EightThreadsShareThePoolAndItEmptiesOnceIdleForItsLimit) {
  const std::string c = server_->Odbc("pqopt=application_name=vn_pool_threads");
  const std::string page = RubricPage(c);
  ASSERT_EQ(page, kRubricPage);
  ClosePooledConnections();
  const int descriptors = OpenDescriptors();

  std::atomic<bool> done{false};
  std::atomic<int> most{0};
  std::thread counter([&] {
    Connection db;
    db.Open(server_->Odbc("Pooling=false"));
    while (!done) {
      const int now = std::stoi(Scalar(
          db, "SELECT count(*) FROM pg_stat_activity WHERE application_name = 'vn_pool_threads'"));
      if (now > most) most = now;
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
  });
  std::atomic<int> pages{0};
  std::atomic<int> wrong{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < 8; ++t) {
    threads.emplace_back([&] {
      for (int i = 0; i < 500; ++i) {
        try {
          if (RubricPage(c) != page) ++wrong;
        } catch (const std::exception&) {
          ++wrong;
        }
        ++pages;
      }
    });
  }
  for (auto& thread : threads) thread.join();
  done = true;
  counter.join();

  EXPECT_EQ(pages, 4000);
  EXPECT_EQ(wrong, 0);
  EXPECT_GT(most, 0);
  EXPECT_LE(most, 8 * 5);
  const int idle = static_cast<int>(ConnectionPool::Shared().IdleCount());
  EXPECT_LE(idle, 8);
  EXPECT_EQ(OpenDescriptors(), descriptors + idle);  // one socket per idle session

  // The idle limit, a second here instead of ADO's minute: every idle session closes, its socket
  // with it (a session leaves the pool's list before its socket closes: both are waited for).
  ConnectionPool::Shared().SetIdleLimit(std::chrono::seconds(1));
  for (int i = 0;
       i < 200 && (ConnectionPool::Shared().IdleCount() > 0 || OpenDescriptors() != descriptors);
       ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  EXPECT_EQ(ConnectionPool::Shared().IdleCount(), 0u);
  EXPECT_EQ(SessionsSettled(server_->Odbc(), "vn_pool_threads", 0), 0);
  EXPECT_EQ(OpenDescriptors(), descriptors);
}

}  // namespace
}  // namespace vn::data::test
#endif
