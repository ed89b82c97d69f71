// The formatter per table cell against the C library formatting the same values, as ratios:
// a column's prepared format (FieldFormat, appending to one reusable buffer) and the one-call
// FormatFieldValue, each against snprintf (numbers) or gmtime_r + strftime (dates) appending
// to a buffer the same way. Runs alternate between the contenders; medians are printed.
//   bench_format [--runs N] [--values N]
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "data/date_serial.h"
#include "render/format_field_value.h"
#include "render/regional_settings.h"

#include "bench/bench_support.h"

namespace {

struct Mix {
  const char* what;
  const char* column;
  int type;
  const char* peerFormat;  // printf format, or strftime format for dates
};

struct Options {
  int runs = 5;
  int values = 1000000;
};

Options ParseOptions(int argc, char** argv) {
  Options options;
  options.runs = vn::bench::IntOption(argc, argv, "--runs", options.runs, 3);
  options.values = vn::bench::IntOption(argc, argv, "--values", options.values, 1);
  return options;
}

double Seconds(const std::function<void()>& f) {
  auto start = std::chrono::steady_clock::now();
  f();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double Median(std::vector<double> times) {
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

// A column as a cursor presents it: one field object whose value is that of the current row,
// read from the same arrays the C library's contender reads.
class ColumnField : public vn::data::Field {
 public:
  ColumnField(const Mix& mix, const std::vector<double>& doubles,
              const std::vector<std::int64_t>& integers, const std::vector<double>& dates)
      : mix_(mix), doubles_(doubles), integers_(integers), dates_(dates) {}
  std::string Name() const override { return mix_.column; }
  int Type() const override { return mix_.type; }
  vn::data::Variant Value() const override {
    if (mix_.type == vn::data::adDouble) return vn::data::Variant(doubles_[row_]);
    if (mix_.type == vn::data::adInteger) return vn::data::Variant(integers_[row_]);
    return vn::data::Variant(vn::data::Date{dates_[row_]});
  }
  void MoveTo(std::size_t row) { row_ = row; }

 private:
  const Mix& mix_;
  const std::vector<double>& doubles_;
  const std::vector<std::int64_t>& integers_;
  const std::vector<double>& dates_;
  std::size_t row_ = 0;
};

// What a C program would write for the same value, appended to `buffer`.
void AppendPeer(const Mix& mix, double number, std::int64_t integer, double serial,
                std::string& buffer) {
  char buf[64];
  std::size_t n = 0;
  if (mix.type == vn::data::adDouble) {
    n = static_cast<std::size_t>(std::snprintf(buf, sizeof buf, mix.peerFormat, number));
  } else if (mix.type == vn::data::adInteger) {
    n = static_cast<std::size_t>(
        std::snprintf(buf, sizeof buf, mix.peerFormat, static_cast<long long>(integer)));
  } else {
    std::time_t t = static_cast<std::time_t>(
        (static_cast<long long>(serial) - vn::data::kUnixEpochDay) * 86400);
    std::tm tm{};
    gmtime_r(&t, &tm);
    n = std::strftime(buf, sizeof buf, mix.peerFormat, &tm);
  }
  buffer.append(buf, n);
}

}  // namespace

int main(int argc, char** argv) {
  const Options options = ParseOptions(argc, argv);
  ::setenv("LC_ALL", "de_DE.UTF-8", 1);
  std::mt19937_64 random(20261207);
  std::uniform_real_distribution<double> amounts(-100000.0, 100000.0);
  std::uniform_int_distribution<std::int64_t> counts(-1000000, 1000000);
  std::uniform_real_distribution<double> days(36526.0, 47483.0);

  const auto count = static_cast<std::size_t>(options.values);
  std::vector<double> doubles(count);
  std::vector<std::int64_t> integers(count);
  std::vector<double> dates(count);
  for (std::size_t i = 0; i < count; ++i) {
    doubles[i] = std::round(amounts(random) * 100) / 100;
    integers[i] = counts(random);
    dates[i] = std::floor(days(random));
  }

  const Mix mixes[] = {
      {"double, default #,##0.00", "Betrag", vn::data::adDouble, "%.2f"},
      {"double, pattern 0.0", "format0*0_Menge", vn::data::adDouble, "%.1f"},
      {"integer, converted", "Anzahl", vn::data::adInteger, "%lld"},
      {"date, dd.mm.yyyy", "formatdd*mm*yyyy_Datum", vn::data::adDate, "%d.%m.%Y"},
      {"date, converted (short date)", "Datum", vn::data::adDate, "%d.%m.%Y"},
  };

  const vn::RegionalSettings& settings = vn::CurrentRegionalSettings();
  std::size_t sink = 0;
  std::string buffer;
  std::printf("%d values per column, median of %d alternating runs, ns per value\n", options.values,
              options.runs);
  std::printf("%-30s %10s %10s %10s %9s %9s\n", "column", "prepared", "one-call", "C library",
              "prepared/C", "one-call/C");
  double ratioNumber = 0;
  double ratioDate = 0;
  for (const Mix& mix : mixes) {
    ColumnField field(mix, doubles, integers, dates);
    std::vector<double> prepared, oneCall, peer;
    for (int run = 0; run < options.runs; ++run) {
      prepared.push_back(Seconds([&] {
        // What a renderer does: the column's format once, then every row's value appended.
        const vn::FieldFormat format(field, settings);
        for (std::size_t i = 0; i < count; ++i) {
          field.MoveTo(i);
          buffer.clear();
          format.Append(field, buffer);
          sink += buffer.size();
        }
      }));
      peer.push_back(Seconds([&] {
        for (std::size_t i = 0; i < count; ++i) {
          buffer.clear();
          AppendPeer(mix, doubles[i], integers[i], dates[i], buffer);
          sink += buffer.size();
        }
      }));
      oneCall.push_back(Seconds([&] {
        for (std::size_t i = 0; i < count; ++i) {
          field.MoveTo(i);
          sink += vn::FormatFieldValue(field).size();
        }
      }));
    }
    const double ours = Median(prepared), once = Median(oneCall), theirs = Median(peer);
    const double perValue = 1e9 / static_cast<double>(count);
    std::printf("%-30s %10.1f %10.1f %10.1f %9.2f %9.2f\n", mix.what, ours * perValue,
                once * perValue, theirs * perValue, ours / theirs, once / theirs);
    if (&mix == &mixes[0]) ratioNumber = ours / theirs;
    if (&mix == &mixes[3]) ratioDate = ours / theirs;
  }
  std::printf("(d) #,##0.00 against snprintf(\"%%.2f\"): %.2f\n", ratioNumber);
  std::printf("(d) dd.mm.yyyy against strftime(\"%%d.%%m.%%Y\"): %.2f\n", ratioDate);
  std::printf("(checksum %zu)\n", sink);
  return 0;
}
