// Benchmark of the page file: a page written line by line through clHTMLDumper against the
// same bytes written in one go, and a page streamed through ProtocolHandler's Read in 64 kB
// chunks against reading a file of the same size with plain 64 kB reads. Both peers are the
// floor (one sequential write, one sequential read); the ratios show what the page file
// costs beyond it. Times are the process's CPU time (medians), which a machine busy with other
// work disturbs far less than wall time.
//
//   bench_page_file [--runs N] [--lines N]
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <functional>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "handler/html_dumper.h"
#include "handler/posix/protocol_handler.h"
#include "platform/codepage.h"
#include "platform/module_path.h"

namespace {

namespace fs = std::filesystem;

double CpuSeconds() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

// Median CPU time of `runs` calls of `f`; `f` may leave set-up out by resetting `start`.
double MedianCpu(int runs, const std::function<void(double& start)>& f) {
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    double start = CpuSeconds();
    f(start);
    times.push_back(CpuSeconds() - start);
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

// A row of a hierarchical table as the renderers hand it over, umlaut included.
const std::string kRow =
    "<TR  CLASS=\"t1\"><TD  CLASS=\"t1\" ALIGN=\"left\">Kunde M\xC3\xBCller</TD>"
    "<TD  CLASS=\"t1\" ALIGN=\"right\">1.234,56</TD><TD  CLASS=\"t1\">01.02.2026</TD></TR>";

class NullSink final : public vn::IInternetProtocolSink {
 public:
  virtual ~NullSink() = default;
  vn::HRESULT QueryInterface(vn::REFIID, void**) override { return vn::E_NOINTERFACE; }
  vn::ULONG AddRef() override { return 2; }
  vn::ULONG Release() override { return 1; }
  vn::HRESULT Switch(vn::PROTOCOLDATA*) override { return vn::S_OK; }
  vn::HRESULT ReportProgress(vn::ULONG, const char*) override { return vn::S_OK; }
  vn::HRESULT ReportData(vn::DWORD, vn::ULONG, vn::ULONG) override { return vn::S_OK; }
  vn::HRESULT ReportResult(vn::HRESULT, vn::DWORD, const char*) override { return vn::S_OK; }
};

void WriteBytes(const std::string& path, const std::string& bytes) {
  int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  if (fd < 0 || ::write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size())) {
    std::cerr << "bench_page_file: cannot write " << path << '\n';
    std::exit(1);
  }
  ::close(fd);
}

size_t ReadAll(const std::string& path, std::vector<char>& buffer) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  size_t total = 0;
  for (ssize_t got; (got = ::read(fd, buffer.data(), buffer.size())) > 0;) total += got;
  ::close(fd);
  return total;
}

}  // namespace

int main(int argc, char** argv) {
  int runs = 5;
  long lines = 200000;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--runs") == 0 && i + 1 < argc) runs = std::atoi(argv[++i]);
    if (std::strcmp(argv[i], "--lines") == 0 && i + 1 < argc) lines = std::atol(argv[++i]);
  }
  const std::string folder =
      fs::temp_directory_path() / ("vn-bench-file-" + std::to_string(getpid()));
  fs::create_directories(folder + "/config");
  setenv("XDG_CONFIG_HOME", (folder + "/config").c_str(), 1);
  setenv("TMPDIR", folder.c_str(), 1);
  setenv("LANG", "de_DE.UTF-8", 1);
  vn::OverrideLibraryFolder(folder);
  const std::string page = folder + "/page.htm";
  const std::string floorFile = folder + "/floor.htm";

  // Writing: the dumper against the converted bytes in one write.
  const double write = MedianCpu(runs, [&](double&) {
    vn::clHTMLDumper dumper;
    dumper.Init(page, "");
    for (long i = 0; i < lines; ++i) dumper.Dump(kRow);
    dumper.DumpEnd();
  });
  const size_t pageBytes = fs::file_size(page);
  const std::string converted =
      vn::Utf8ToCp1252(kRow, vn::Unmappable::kCharacterReference) + "\r\n";
  std::string all;
  all.reserve(converted.size() * lines);
  for (long i = 0; i < lines; ++i) all += converted;
  const double writeFloor = MedianCpu(runs, [&](double&) { WriteBytes(floorFile, all); });
  std::printf("write %zu bytes: clHTMLDumper %.4f s, one write %.4f s, ratio %.2f\n", pageBytes,
              write, writeFloor, write / writeFloor);

  // Streaming: a page of about the same size (an unknown command names itself in its error
  // block) read through Read, against plain reads of a file of that size.
  const std::string url = "varnolis://" + std::string(pageBytes, 'x');
  std::vector<char> buffer(65536);
  size_t streamed = 0;
  const double stream = MedianCpu(runs, [&](double& start) {
    NullSink sink;
    auto* handler = new vn::ProtocolHandler();
    handler->Start(url.c_str(), &sink, nullptr, 0, 0);
    start = CpuSeconds();  // building the page is not measured
    streamed = 0;
    vn::ULONG count = 0;
    while (handler->Read(buffer.data(), 65536, &count) == vn::S_OK) streamed += count;
    handler->Terminate(0);
    handler->Release();
  });
  WriteBytes(floorFile, std::string(streamed, 'x'));
  const double readFloor = MedianCpu(runs, [&](double&) { ReadAll(floorFile, buffer); });
  std::printf("stream %zu bytes: Read %.4f s, plain reads %.4f s, ratio %.2f\n", streamed, stream,
              readFloor, stream / readFloor);
  fs::remove_all(folder);
  return 0;
}
