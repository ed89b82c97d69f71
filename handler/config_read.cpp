#include "handler/config_read.h"

#include <array>
#include <atomic>
#include <cmath>
#include <cstring>
#include <exception>
#include <limits>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <utility>

#include "data/connection.h"
#include "data/recordset.h"
#include "platform/file_handle.h"
#include "platform/file_stamp.h"
#include "platform/runtime_error.h"
#include "platform/text.h"
#include "render/format_field_value.h"
#include "resources/markup.h"
#include "resources/message_ids.h"
#include "resources/res_text.h"

namespace vn {

namespace {

// An int's width: lock-free on every target, the 32-bit one included.
std::atomic<unsigned> reads{0};

// The number at the start of a text as Visual Basic's Val reads it (blanks skipped, point as
// decimal separator), rounded half to even; 0 when the text starts with no number.
int LeadingNumber(const std::string& text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  double value = 0;
  while (i < text.size() && text[i] >= '0' && text[i] <= '9')
    value = value * 10 + (text[i++] - '0');
  if (i < text.size() && text[i] == '.') {
    double scale = 0.1;
    for (++i; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i, scale /= 10) {
      value += (text[i] - '0') * scale;
    }
  }
  value = std::nearbyint(negative ? -value : value);
  if (value > std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
  if (value < std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
  return static_cast<int>(value);
}

// A column of the current row as the page shows it.
std::string ColumnText(const data::Recordset& rs, res::Id columnId) {
  return FormatFieldValue(rs.Fields(ResText(columnId)));
}

// Closes a recordset or connection when the read is done; a failure to close changes nothing
// of what was read.
template <typename Closable>
struct Closer {
  Closable& closable;
  explicit Closer(Closable& c) : closable(c) {}
  Closer(const Closer&) = delete;
  Closer& operator=(const Closer&) = delete;
  ~Closer() {
    try {
      closable.Close();
    } catch (...) {
      // The rows are read; a failing close has nothing left to spoil.
    }
  }
};

// The queries of one page, as the configuration database holds it now.
bool ReadNow(const std::string& databasePath, const std::string& rubric,
             PageConfiguration& configuration, clHTMLError& error) {
  ++reads;
  const std::string connectionString = ResText(res::kConfigConnection, databasePath);
  data::Connection connection;
  try {
    connection.SetConnectionString(connectionString);
    // The library only reads the configuration; the configuration program may be writing.
    connection.SetMode(data::adModeRead);
    connection.Open({}, {}, {}, -1);
  } catch (const std::exception&) {
    // The path is the program folder's, whose name may hold any character a file name can.
    error.SetError(msg::kNoConnection, {markup::EscapeHtml(connectionString)});
    return false;
  }
  Closer<data::Connection> closeConnection{connection};

  std::string sql = ResText(res::kSelectOrdered, ResText(res::kRubrikenTable),
                            ResText(res::kRubrikenTable), ResText(res::kRangColumn));
  data::Recordset rubriken;
  try {
    rubriken.Open(sql, connection, data::adOpenForwardOnly, data::adLockUnspecified, -1);
  } catch (const std::exception&) {
    error.SetError(msg::kQueryFailed, {markup::EscapeHtml(sql)});
    return false;
  }
  Closer<data::Recordset> closeRubriken{rubriken};
  if (rubriken.Bof() && rubriken.Eof()) {
    error.SetError(msg::kNoData, {ResText(res::kRubrikenTable)});
    return false;
  }
  configuration = PageConfiguration{};
  try {
    while (!rubriken.Eof()) {
      configuration.failedInRow = true;
      RubricRow row{ColumnText(rubriken, res::kMenuetextColumn),
                    ColumnText(rubriken, res::kRubrikColumn)};
      if (row.rubrik == rubric) {
        configuration.bemerkung = ColumnText(rubriken, res::kBemerkungColumn);
        configuration.titel = ColumnText(rubriken, res::kTitelColumn);
      }
      configuration.rubrics.push_back(std::move(row));
      configuration.failedInRow = false;
      rubriken.MoveNext();
    }
  } catch (const std::exception&) {
    configuration.rubricsIncomplete = true;
  }

  // The name stands inside a double-quoted literal, where only a double quote can end it:
  // doubling it keeps every name a literal. An apostrophe is an ordinary character there, so
  // it stays single (doubled, a name such as O'Neil could never be found).
  sql = ResText(res::kEntriesOfRubrik, ReplaceAll(rubric, "\"", "\"\""));
  data::Recordset eintraege;
  try {
    eintraege.Open(sql, connection, data::adOpenForwardOnly, data::adLockReadOnly, -1);
  } catch (const std::exception&) {
    // The statement holds the name from the URL: shown as text, never as markup.
    error.SetError(msg::kQueryFailed, {markup::EscapeHtml(sql)});
    return false;
  }
  Closer<data::Recordset> closeEintraege{eintraege};
  if (!(eintraege.Bof() && eintraege.Eof())) {
    try {
      while (!eintraege.Eof()) {
        clDaten& d = configuration.entries.emplace_back();
        d.Bemerkung = ColumnText(eintraege, res::kBemerkungColumn);
        d.DatenQuelle = ColumnText(eintraege, res::kDatenquelleColumn);
        d.Format = LeadingNumber(ColumnText(eintraege, res::kFormatColumn));
        d.Abfrage = ColumnText(eintraege, res::kAbfrageColumn);
        d.Titel = ColumnText(eintraege, res::kTitelColumn);
        d.Rubrik = ColumnText(eintraege, res::kRubrikColumn);
        eintraege.MoveNext();
      }
    } catch (const std::exception&) {
      error.SetError(msg::kDataAccessFailed);
      return false;
    }
  }
  return true;
}

// The bytes of an SQLite file's header that change with every committed write in its rollback
// journal modes (the change counter, the page count, the free list), the same bytes SQLite
// itself compares to know whether its page cache still holds. Nothing for any other file, and
// for a file in write-ahead mode, whose commits leave the file and its header alone.
using ChangeBytes = std::array<unsigned char, 16>;

std::optional<ChangeBytes> SqliteChangeBytes(const std::string& path) {
  unsigned char head[40] = {};
  try {
    FileHandle file = FileHandle::OpenForReading(path);
    if (file.ReadUpTo(head, sizeof head) != sizeof head) return std::nullopt;
  } catch (const RuntimeError&) {
    return std::nullopt;  // unreadable: the read that follows says why
  }
  if (std::memcmp(head, "SQLite format 3", 16) != 0) return std::nullopt;
  if (head[18] != 1 || head[19] != 1) return std::nullopt;  // 2: write-ahead log
  ChangeBytes bytes{};
  std::memcpy(bytes.data(), head + 24, bytes.size());
  return bytes;
}

// A read kept for the next page of its rubric, with what the file was when it was made.
struct KeptRead {
  FileStamp stamp;
  ChangeBytes change{};
  PageConfiguration configuration;
};

// The kept reads by file and rubric. A handful of rubrics is what a user clicks through; a
// longer list starts over.
class KeptReads {
 public:
  static KeptReads& Shared() {
    static KeptReads kept;
    return kept;
  }

  bool Find(const std::string& key, const FileStamp& stamp, const ChangeBytes& change,
            PageConfiguration& configuration) {
    const std::lock_guard<std::mutex> lock(mutex_);
    const auto found = reads_.find(key);
    if (found == reads_.end()) return false;
    if (!found->second.stamp.SameFile(stamp) || found->second.change != change) {
      reads_.erase(found);
      return false;
    }
    configuration = found->second.configuration;
    return true;
  }

  void Keep(const std::string& key, KeptRead read) {
    const std::lock_guard<std::mutex> lock(mutex_);
    if (reads_.size() >= kMostKept) reads_.clear();
    reads_[key] = std::move(read);
  }

 private:
  static constexpr size_t kMostKept = 32;
  std::mutex mutex_;
  std::map<std::string, KeptRead> reads_;
};

}  // namespace

bool ReadPageConfiguration(const std::string& databasePath, const std::string& rubric,
                           PageConfiguration& configuration, clHTMLError& error) {
  // Looked at before the read: a save after this shows in the file's stamp or header the next
  // time, so the read is never kept under a state older than what it holds.
  const FileStamp stamp = FileStamp::Of(databasePath);
  const std::optional<ChangeBytes> change =
      stamp.known ? SqliteChangeBytes(databasePath) : std::nullopt;
  if (!change) return ReadNow(databasePath, rubric, configuration, error);
  const std::string key = databasePath + '\n' + rubric;
  if (KeptReads::Shared().Find(key, stamp, *change, configuration)) return true;
  if (!ReadNow(databasePath, rubric, configuration, error)) return false;
  // A row that failed to read may read the next time.
  if (!configuration.rubricsIncomplete)
    KeptReads::Shared().Keep(key, KeptRead{stamp, *change, configuration});
  return true;
}

unsigned ConfigurationReads() { return reads.load(); }

}  // namespace vn
