// Test support for the pooled connections: one data entry as a page runs it (a connection of its
// own, one query, every row read, closed), the rubric of five entries the pool tests share, and
// the server's count of sessions.
#pragma once

#include <chrono>
#include <string>
#include <thread>

#include "pg_test_support.h"

namespace vn::data::test {

// Opens `connection` as a page's entry does, runs `sql` and gives back all rows (as Dump).
inline std::string Entry(const std::string& connection, const std::string& sql,
                         int mode = adModeRead) {
  Connection c;
  c.SetMode(mode);
  c.Open(connection);
  Recordset rs;
  rs.Open(sql, c);
  return Dump(rs);
}

// The rubric's tables, for a superuser's psql: three customers and their invoices.
constexpr const char* kRubricTables =
    "CREATE TABLE customers (id integer PRIMARY KEY, name text, city text); "
    "CREATE TABLE invoices (customer_id integer, no integer, cents integer, day date); "
    "INSERT INTO customers VALUES (1, 'Albers', 'Bremen'), (2, 'Brandt', 'Köln'), "
    "(3, 'Claasen', 'Hamm'); "
    "INSERT INTO invoices VALUES (1, 1, 500, '2026-01-02'), (2, 1, 1250, '2026-02-03'), "
    "(2, 2, 990, '2026-03-04'), (2, 3, 4000, '2026-04-05'), (3, 1, 70, '2026-05-06'); "
    "GRANT SELECT ON customers, invoices TO vn_test";

// The five entries of a customer's rubric, for customer 2.
constexpr const char* kRubric[] = {
    "SELECT name, city FROM customers WHERE id = 2",
    "SELECT no, cents FROM invoices WHERE customer_id = 2 ORDER BY no",
    "SELECT count(*), sum(cents) FROM invoices WHERE customer_id = 2",
    "SELECT to_char(max(day), 'DD.MM.YYYY') FROM invoices WHERE customer_id = 2",
    "SELECT c.name, i.no FROM customers c JOIN invoices i ON i.customer_id = c.id "
    "WHERE c.id = 2 ORDER BY i.cents DESC LIMIT 2"};

// What the rubric gives, one line per entry.
constexpr const char* kRubricPage =
    "Brandt|Köln\n"
    "1|1250;2|990;3|4000\n"
    "3|6240\n"
    "05.04.2026\n"
    "Brandt|3;Brandt|1\n";

// The rubric's entries one after the other, as a page runs them.
inline std::string RubricPage(const std::string& connection) {
  std::string page;
  for (const char* sql : kRubric) page += Entry(connection, sql) + "\n";
  return page;
}

// The sessions on the server of `connection` that `application` opened, counted from a session
// of its own that is not pooled (and not counted).
inline int Sessions(const std::string& connection, const std::string& application) {
  return std::stoi(Entry(connection + ";Pooling=false",
                         "SELECT count(*) FROM pg_stat_activity WHERE application_name = '" +
                             application + "' AND pid <> pg_backend_pid()"));
}

// Waits up to five seconds for the count to become `expected` (a closed session leaves the
// server's list a moment after its client has gone); the last count.
inline int SessionsSettled(const std::string& connection, const std::string& application,
                           int expected) {
  int count = Sessions(connection, application);
  for (int i = 0; i < 100 && count != expected; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    count = Sessions(connection, application);
  }
  return count;
}

}  // namespace vn::data::test
