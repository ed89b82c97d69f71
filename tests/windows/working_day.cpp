// A browser process's working day with the library, under Wine: many requests through urlmon in
// one process, from several threads that each live in their own apartment, as the contact
// manager's browser tabs make them.
//
//   working_day [--threads T] [--requests N] [--warmup W] EXPECTED URL...
//     Fetches the URLs in turn (request i asks for URL i modulo their number) until N requests
//     are done, from T threads (4) sharing one counter. Every page, without the blanks that pad
//     its last chunk, must equal the file EXPECTED\<k>.html for URL number k (the Linux page); a
//     page that differs is kept as EXPECTED\<k>.differs.html. After the first W requests (100)
//     and after the last, with every thread still in its apartment, the process's handles, GDI
//     objects, private bytes and threads are counted; one line each on standard output with
//     both values, then the pages per second. Exit status 0, or 3 when a page differed, a fetch
//     failed or a counter grew by more than its allowance.
//
//   working_day decimal SIGN URL FIRST SECOND
//     Fetches URL into the file FIRST, sets the user's decimal sign to SIGN (SetLocaleInfoW),
//     fetches it again in the same process into SECOND, and puts the old sign back.
#include <windows.h>

#include <atomic>
#include <barrier>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "tests/windows/process_counters.h"
#include "tests/windows/url_stream.h"

namespace {

using vn::test::ProcessCounters;

// What a counter may grow by between the first requests and the last: allocator pools, a
// cached thread of COM's and the like settle early; what grows with the requests exceeds these.
constexpr long kHandleAllowance = 16;
constexpr long kGdiAllowance = 4;
constexpr long kPrivateKilobyteAllowance = 4096;
constexpr long kThreadAllowance = 2;

std::string Narrow(const std::wstring& wide) {
  std::string out;
  for (wchar_t c : wide) out += static_cast<char>(c);  // paths and URLs of the tests: ASCII
  return out;
}

std::string ReadWhole(const std::wstring& path) {
  std::ifstream in(Narrow(path), std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void WriteWhole(const std::wstring& path, const std::string& bytes) {
  std::ofstream(Narrow(path), std::ios::binary) << bytes;
}

std::string WithoutPadding(std::string page) {
  const size_t end = page.find_last_not_of(' ');
  page.erase(end == std::string::npos ? 0 : end + 1);
  return page;
}

struct Day {
  std::vector<std::wstring> urls;
  std::vector<std::string> expected;
  std::wstring folder;
  long requests = 10000;
  long warmup = 100;
  std::atomic<long> next{0};
  std::atomic<long> differing{0};
  std::atomic<long> failed{0};
  std::mutex keeping;  // one thread writes a differing page at a time
  std::vector<bool> kept;

  // Requests until the shared count reaches `until`.
  void Work(long until) {
    for (long i = next++; i < until; i = next++) {
      const size_t k = static_cast<size_t>(i) % urls.size();
      std::string page;
      if (FAILED(vn::test::FetchPage(urls[k].c_str(), page))) {
        ++failed;
        continue;
      }
      page = WithoutPadding(std::move(page));
      if (page == expected[k]) continue;
      ++differing;
      std::lock_guard lock(keeping);
      if (!kept[k]) {
        kept[k] = true;
        WriteWhole(folder + L"\\" + std::to_wstring(k) + L".differs.html", page);
      }
    }
  }
};

bool Report(const char* name, long start, long end, long allowance) {
  const bool ok = start >= 0 && end >= 0 && end - start <= allowance;
  std::printf("%s %ld %ld%s\n", name, start, end, ok ? "" : " (grew too much)");
  return ok;
}

int WorkingDay(Day& day, int threads) {
  // The workers and this thread meet after the warm-up and after the last request; the
  // counters are read between two meetings, while every worker waits in its apartment.
  std::barrier meeting(threads + 1);
  std::vector<std::thread> workers;
  for (int t = 0; t < threads; ++t) {
    workers.emplace_back([&] {
      CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
      day.Work(day.warmup);
      meeting.arrive_and_wait();  // warm-up done
      meeting.arrive_and_wait();  // counted
      day.Work(day.requests);
      meeting.arrive_and_wait();  // day done
      meeting.arrive_and_wait();  // counted
      CoUninitialize();
    });
  }
  meeting.arrive_and_wait();
  day.next = day.warmup;
  const ProcessCounters start = vn::test::CountProcess();
  const auto begin = std::chrono::steady_clock::now();
  meeting.arrive_and_wait();
  meeting.arrive_and_wait();
  const auto finish = std::chrono::steady_clock::now();
  const ProcessCounters end = vn::test::CountProcess();
  meeting.arrive_and_wait();
  for (std::thread& worker : workers) worker.join();

  bool ok = true;
  ok &= Report("handles", start.handles, end.handles, kHandleAllowance);
  // Wine counts no GDI objects for a process without windows of its own: 0 and 0 is expected.
  ok &= Report("gdi", start.gdiObjects, end.gdiObjects, kGdiAllowance);
  ok &=
      Report("private_kb", start.privateKilobytes, end.privateKilobytes, kPrivateKilobyteAllowance);
  ok &= Report("threads", start.threads, end.threads, kThreadAllowance);
  const double seconds = std::chrono::duration<double>(finish - begin).count();
  const long measured = day.requests - day.warmup;
  std::printf("requests %ld in %.1f s after the warm-up: %.1f per second\n", measured, seconds,
              seconds > 0 ? measured / seconds : 0.0);
  std::printf("differing %ld failed %ld\n", day.differing.load(), day.failed.load());
  return ok && day.differing == 0 && day.failed == 0 ? 0 : 3;
}

int Decimal(const wchar_t* sign, const wchar_t* url, const wchar_t* first, const wchar_t* second) {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  wchar_t saved[8] = L"";
  GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, saved, 8);
  std::string page;
  HRESULT hr = vn::test::FetchPage(url, page);
  WriteWhole(first, WithoutPadding(page));
  if (SUCCEEDED(hr) && SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, sign)) {
    hr = vn::test::FetchPage(url, page);
    WriteWhole(second, WithoutPadding(page));
    SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, saved);
  }
  CoUninitialize();
  if (FAILED(hr)) {
    std::fprintf(stderr, "URLOpenStreamW 0x%08lX\n", static_cast<unsigned long>(hr));
    return 2;
  }
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc == 6 && std::wstring(argv[1]) == L"decimal") {
    return Decimal(argv[2], argv[3], argv[4], argv[5]);
  }
  Day day;
  int threads = 4;
  int i = 1;
  for (; i + 1 < argc && argv[i][0] == L'-'; i += 2) {
    const std::wstring option = argv[i];
    const long value = std::wcstol(argv[i + 1], nullptr, 10);
    if (option == L"--threads") threads = static_cast<int>(value);
    if (option == L"--requests") day.requests = value;
    if (option == L"--warmup") day.warmup = value;
  }
  if (argc - i < 2 || threads < 1 || day.warmup < 0 || day.requests <= day.warmup) {
    std::fputs(
        "usage: working_day [--threads T] [--requests N] [--warmup W] EXPECTED URL...\n"
        "       working_day decimal SIGN URL FIRST SECOND\n",
        stderr);
    return 1;
  }
  day.folder = argv[i];
  for (int k = i + 1; k < argc; ++k) {
    day.urls.push_back(argv[k]);
    day.expected.push_back(ReadWhole(day.folder + L"\\" + std::to_wstring(k - i - 1) + L".html"));
  }
  day.kept.assign(day.urls.size(), false);
  return WorkingDay(day, threads);
}
