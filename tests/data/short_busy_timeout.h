// A shorter wait for SQLite's locks, for tests that hold a lock on purpose.
#pragma once

#include <chrono>

#include "data/sqlite_busy_timeout.h"

namespace vn::data::test {

// While it lives, SQLite connections opened wait a tenth of a second for another connection's
// lock instead of the product's five: for tests that hold a lock on purpose and expect the
// refusal.
class ShortBusyTimeout {
 public:
  ShortBusyTimeout() { SetSqliteBusyTimeout(std::chrono::milliseconds(100)); }
  ~ShortBusyTimeout() { SetSqliteBusyTimeout(before_); }
  ShortBusyTimeout(const ShortBusyTimeout&) = delete;
  ShortBusyTimeout& operator=(const ShortBusyTimeout&) = delete;

 private:
  const std::chrono::milliseconds before_ = SqliteBusyTimeout();
};

}  // namespace vn::data::test
