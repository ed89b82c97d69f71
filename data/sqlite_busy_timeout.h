// How long an SQLite connection waits for another connection's lock on its file before a call
// fails with "database is locked": five seconds unless set. A connection takes the value in force
// when it opens; tests that hold a lock on purpose shorten it, so that they wait for nothing.
#pragma once

#include <chrono>

namespace vn::data {

inline constexpr std::chrono::milliseconds kDefaultSqliteBusyTimeout{5000};

std::chrono::milliseconds SqliteBusyTimeout();
void SetSqliteBusyTimeout(std::chrono::milliseconds timeout);

}  // namespace vn::data
