#include "act/standin_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

#include "act/automation.h"
#include "act/standin_cache.h"
#include "platform/file_io.h"
#include "platform/runtime_error.h"
#include "platform/settings.h"
#include "platform/text.h"

namespace vn {
namespace {

using nlohmann::json;

constexpr long kAutomationFailure = -2147467259;  // E_FAIL
constexpr const char* kSource = "ACT! stand-in";

[[noreturn]] void Malformed(const std::string& path, const std::string& where,
                            const std::string& what) {
  throw RuntimeError(kAutomationFailure, path + ": " + where + ": " + what, kSource);
}

// Line and column (from 1) of the byte at `offset`, for messages about the file.
std::string LineAndColumn(const std::string& content, size_t offset) {
  size_t line = 1;
  size_t column = 1;
  for (size_t i = 0; i < offset && i < content.size(); ++i) {
    if (content[i] == '\n') {
      ++line;
      column = 1;
    } else {
      ++column;
    }
  }
  return "line " + std::to_string(line) + ", column " + std::to_string(column);
}

void Expect(const std::string& path, const std::string& where, bool ok, const char* what) {
  if (!ok) Malformed(path, where, std::string("expected ") + what);
}

// Whether the whole number `v` lies between `low` and `high`.
bool WholeNumberWithin(const json& v, std::int64_t low, std::int64_t high) {
  if (v.is_number_unsigned()) return v.get<std::uint64_t>() <= static_cast<std::uint64_t>(high);
  if (!v.is_number_integer()) return false;
  const std::int64_t n = v.get<std::int64_t>();
  return n >= low && n <= high;
}

// A whole number that the bridge takes as a 32-bit integer (view types, field and error numbers).
void ExpectLong(const std::string& path, const std::string& where, const json& v) {
  Expect(path, where, WholeNumberWithin(v, INT32_MIN, INT32_MAX),
         "a whole number from -2147483648 to 2147483647");
}

// Reads nothing; notes where the parser gave up and the token it could not take, for the
// failures that the library reports without a place (a number too large for a double).
class ErrorPlace : public nlohmann::json_sax<json> {
 public:
  size_t offset = 0;
  std::string token;

  bool null() override { return true; }
  bool boolean(bool) override { return true; }
  bool number_integer(number_integer_t) override { return true; }
  bool number_unsigned(number_unsigned_t) override { return true; }
  bool number_float(number_float_t, const string_t&) override { return true; }
  bool string(string_t&) override { return true; }
  bool binary(binary_t&) override { return true; }
  bool start_object(std::size_t) override { return true; }
  bool key(string_t&) override { return true; }
  bool end_object() override { return true; }
  bool start_array(std::size_t) override { return true; }
  bool end_array() override { return true; }
  bool parse_error(std::size_t position, const std::string& lastToken,
                   const nlohmann::detail::exception&) override {
    token = lastToken;
    offset = position >= lastToken.size() ? position - lastToken.size() : 0;
    return false;
  }
};

bool IsFieldValue(const json& v) {
  return v.is_string() || v.is_number() || v.is_boolean() || v.is_null();
}

void CheckRecord(const std::string& path, const json& record, const std::string& where) {
  Expect(path, where, record.is_object(), "an object of fields");
  for (const auto& [key, value] : record.items()) {
    if (key == "members") {
      Expect(path, where + "/members", value.is_array(), "an array of unique IDs");
      continue;
    }
    Expect(path, where + "/" + key, IsFieldValue(value), "a field value");
  }
}

void CheckShape(const std::string& path, const json& model) {
  Expect(path, "/", model.is_object(), "an object");
  auto optional = [&](const char* key, auto&& check) {
    auto it = model.find(key);
    if (it != model.end()) check(*it, std::string("/") + key);
  };
  optional("windows", [&](const json& v, const std::string& where) {
    Expect(path, where, v.is_array(), "an array of windows");
    for (size_t i = 0; i < v.size(); ++i) {
      const json& w = v[i];
      std::string at = where + "/" + std::to_string(i);
      Expect(path, at, w.is_object(), "an object");
      if (w.contains("class")) Expect(path, at + "/class", w["class"].is_string(), "a string");
      if (w.contains("title")) Expect(path, at + "/title", w["title"].is_string(), "a string");
      if (w.contains("visible")) {
        Expect(path, at + "/visible", w["visible"].is_boolean(), "true or false");
      }
    }
  });
  for (const char* key : {"database", "userId", "userName", "version", "activeTab"}) {
    optional(key, [&](const json& v, const std::string& where) {
      Expect(path, where, v.is_string() || v.is_null(), "a string");
    });
  }
  for (const char* key : {"activeView", "currentField"}) {
    optional(key, [&](const json& v, const std::string& where) {
      Expect(path, where, v.is_number_integer() || v.is_null(), "a whole number or null");
      if (!v.is_null()) ExpectLong(path, where, v);
    });
  }
  // The number of the next stand-in unique ID ("SI" and ten digits); one past the last when
  // all have been given.
  optional("nextId", [&](const json& v, const std::string& where) {
    Expect(path, where, WholeNumberWithin(v, 0, 10000000000),
           "a whole number from 0 to 10000000000");
  });
  optional("commands", [&](const json& v, const std::string& where) {
    Expect(path, where, v.is_array(), "an array of command numbers");
    for (size_t i = 0; i < v.size(); ++i) ExpectLong(path, where + "/" + std::to_string(i), v[i]);
  });
  for (const char* key : {"contact", "group"}) {
    optional(key, [&](const json& v, const std::string& where) { CheckRecord(path, v, where); });
  }
  for (const char* key : {"contacts", "groups", "notes"}) {
    optional(key, [&](const json& v, const std::string& where) {
      Expect(path, where, v.is_array(), "an array of records");
      for (size_t i = 0; i < v.size(); ++i)
        CheckRecord(path, v[i], where + "/" + std::to_string(i));
    });
  }
  for (const char* key : {"lookup", "tabs"}) {
    optional(key, [&](const json& v, const std::string& where) {
      Expect(path, where, v.is_array(), "an array of strings");
      for (size_t i = 0; i < v.size(); ++i) {
        Expect(path, where + "/" + std::to_string(i), v[i].is_string(), "a string");
      }
    });
  }
  optional("fail", [&](const json& v, const std::string& where) {
    Expect(path, where, v.is_object(), "an object of member names");
    for (const auto& [member, entry] : v.items()) {
      std::string at = where + "/" + member;
      if (entry.is_object()) {
        Expect(path, at + "/number",
               entry.contains("number") && entry["number"].is_number_integer(), "a whole number");
        ExpectLong(path, at + "/number", entry["number"]);
        if (entry.contains("description")) {
          Expect(path, at + "/description", entry["description"].is_string(), "a string");
        }
      } else {
        Expect(path, at, entry.is_number_integer(),
               "an error number or {\"number\": ..., \"description\": ...}");
        ExpectLong(path, at, entry);
      }
    }
  });
}

}  // namespace

std::string StandInPath() {
  const char* env = std::getenv("VARNOLIS_ACT");
  if (env != nullptr && env[0] != '\0') return env;
  return UserConfigFolder() + "/act.json";
}

clStandInFile::clStandInFile(std::string path, StandInReads reads)
    : path_(std::move(path)), reads_(reads) {}

std::string clStandInFile::Path() const { return path_.empty() ? StandInPath() : path_; }

bool clStandInFile::Exists() const {
  struct stat st {};
  return ::stat(Path().c_str(), &st) == 0;
}

StandInModel clStandInFile::Load() const {
  if (kept_) return kept_;
  StandInModel model = Read();
  if (reads_ == StandInReads::kOnce) kept_ = model;
  return model;
}

StandInModel clStandInFile::Read() const {
  const std::string path = Path();
  // Looked at before the file is read: a write after this is seen at the next call.
  const FileStamp stamp = FileStamp::Of(path);
  clStandInCache& cache = clStandInCache::Shared();
  if (auto model = cache.Unchanged(path, stamp)) return model;
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 && errno == ENOENT) {
      static const StandInModel kNoFile = std::make_shared<const json>();
      return kNoFile;
    }
    Malformed(path, "open", std::strerror(errno));
  }
  std::stringstream buffer;
  buffer << in.rdbuf();
  const std::string content = buffer.str();
  if (auto model = cache.SameText(path, content, stamp)) return model;
  json parsed;
  try {
    parsed = json::parse(content);
  } catch (const json::parse_error& e) {
    // The library's message starts with its own ids; keep only the explanation.
    std::string what = e.what();
    auto colon = what.rfind(": ");
    if (colon != std::string::npos) what = what.substr(colon + 2);
    size_t offset = e.byte == 0 ? 0 : e.byte - 1;
    Malformed(path, LineAndColumn(content, offset), "invalid JSON: " + what);
  } catch (const json::out_of_range&) {
    // A number beyond the range of a double; the library names no place for it.
    ErrorPlace place;
    json::sax_parse(content, &place);
    Malformed(path, LineAndColumn(content, place.offset), "number out of range: " + place.token);
  }
  CheckShape(path, parsed);
  auto model = std::make_shared<const json>(std::move(parsed));
  cache.Keep(path, content, model, stamp);
  return model;
}

void clStandInFile::Save(const nlohmann::json& model) const {
  if (reads_ == StandInReads::kOnce) kept_ = std::make_shared<const json>(model);
  const std::string path = Path();
  const std::string temporary = path + ".tmp" + std::to_string(::getpid());
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out << model.dump(2, ' ', false, json::error_handler_t::replace) << "\n";
    if (!out) Malformed(path, "write", std::strerror(errno));
  }
  if (!MoveFileOver(temporary, path)) {
    int err = errno;
    std::remove(temporary.c_str());
    Malformed(path, "write", std::strerror(err));
  }
}

void clStandInFile::CheckFail(const nlohmann::json& model, const std::string& member) const {
  if (!model.is_object()) return;
  auto fail = model.find("fail");
  if (fail == model.end()) return;
  for (const auto& [name, entry] : fail->items()) {
    if (!EqualsIgnoringCase(name, member)) continue;
    long number = 0;
    std::string description = "The ACT! stand-in failed in " + member + " (fail entry)";
    if (entry.is_object()) {
      number = entry["number"].get<long>();
      if (entry.contains("description")) description = entry["description"].get<std::string>();
    } else {
      number = entry.get<long>();
    }
    throw RuntimeError(number, description, kSource);
  }
}

}  // namespace vn
