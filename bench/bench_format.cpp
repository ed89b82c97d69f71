// FormatFieldValue over a million values against printf-style formatting of the same
// numbers: the cost of the formatter per table cell, as a ratio to the C library's.
#include <chrono>
#include <cmath>
#include <ctime>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "render/format_field_value.h"

namespace {

constexpr int kValues = 1000000;

struct Mix {
  const char* what;
  const char* column;
  int type;
  const char* printfFormat;  // the same numbers through snprintf
};

double Seconds(std::chrono::steady_clock::duration d) { return std::chrono::duration<double>(d).count(); }

}  // namespace

int main() {
  ::setenv("LC_ALL", "de_DE.UTF-8", 1);
  std::mt19937_64 random(20261207);
  std::uniform_real_distribution<double> amounts(-100000.0, 100000.0);
  std::uniform_int_distribution<std::int64_t> counts(-1000000, 1000000);
  std::uniform_real_distribution<double> days(36526.0, 47483.0);

  std::vector<double> doubles(kValues);
  std::vector<std::int64_t> integers(kValues);
  std::vector<double> dates(kValues);
  for (int i = 0; i < kValues; ++i) {
    doubles[i] = std::round(amounts(random) * 100) / 100;
    integers[i] = counts(random);
    dates[i] = std::floor(days(random));
  }

  const Mix mixes[] = {
      {"double, default #,##0.00", "Betrag", vn::data::adDouble, "%.2f"},
      {"double, pattern 0.0", "format0*0_Menge", vn::data::adDouble, "%.1f"},
      {"integer, converted", "Anzahl", vn::data::adInteger, "%lld"},
      {"date, dd.mm.yyyy", "formatdd*mm*yyyy_Datum", vn::data::adDate, "%02d.%02d.%04d"},
  };

  double totalOurs = 0;
  double totalPrintf = 0;
  std::size_t sink = 0;
  std::printf("%-28s %12s %12s %8s\n", "values (1 000 000 each)", "ours [ns]", "printf [ns]", "ratio");
  for (const Mix& mix : mixes) {
    std::vector<vn::data::SimpleField> fields;
    fields.reserve(kValues);
    for (int i = 0; i < kValues; ++i) {
      if (mix.type == vn::data::adDouble) {
        fields.emplace_back(mix.column, mix.type, vn::data::Variant(doubles[i]));
      } else if (mix.type == vn::data::adInteger) {
        fields.emplace_back(mix.column, mix.type, vn::data::Variant(integers[i]));
      } else {
        fields.emplace_back(mix.column, mix.type, vn::data::Variant(vn::data::Date{dates[i]}));
      }
    }
    auto start = std::chrono::steady_clock::now();
    for (const auto& field : fields) sink += vn::FormatFieldValue(field).size();
    double ours = Seconds(std::chrono::steady_clock::now() - start);

    char buf[64];
    start = std::chrono::steady_clock::now();
    for (int i = 0; i < kValues; ++i) {
      int n = 0;
      if (mix.type == vn::data::adDouble) {
        n = std::snprintf(buf, sizeof buf, mix.printfFormat, doubles[i]);
      } else if (mix.type == vn::data::adInteger) {
        n = std::snprintf(buf, sizeof buf, mix.printfFormat, static_cast<long long>(integers[i]));
      } else {
        // Day, month and year as printf would get them from a broken-down time.
        long long z = static_cast<long long>(dates[i]) - 25569;
        std::time_t t = static_cast<std::time_t>(z * 86400);
        std::tm tm{};
        gmtime_r(&t, &tm);
        n = std::snprintf(buf, sizeof buf, mix.printfFormat, tm.tm_mday, tm.tm_mon + 1, tm.tm_year + 1900);
      }
      sink += std::string(buf, static_cast<std::size_t>(n)).size();
    }
    double theirs = Seconds(std::chrono::steady_clock::now() - start);
    totalOurs += ours;
    totalPrintf += theirs;
    std::printf("%-28s %12.1f %12.1f %8.2f\n", mix.what, ours * 1e9 / kValues, theirs * 1e9 / kValues, ours / theirs);
  }
  std::printf("%-28s %12.1f %12.1f %8.2f\n", "all", totalOurs * 1e9 / (4.0 * kValues),
              totalPrintf * 1e9 / (4.0 * kValues), totalOurs / totalPrintf);
  std::printf("(checksum %zu)\n", sink);
  return 0;
}
