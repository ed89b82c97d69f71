// A program that knows nothing of Varnolis but urlmon: fetches a URL with URLOpenStreamW, as
// any browser component would, and writes the page to standard output.
//   urlmon_client [--count N] [--temp FOLDER] URL
// --count N fetches it N times in this one process (the page of the first fetch is written)
// and reports on standard error how many handles the process held after the first and after
// the last fetch, counted from the system's handle list. --temp points %TEMP% and %TMP% at
// FOLDER first. Exit status 0, or 2 with the failing result on standard error.
#include <windows.h>
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "tests/windows/process_counters.h"
#include "tests/windows/url_stream.h"

int wmain(int argc, wchar_t** argv) {
  _setmode(_fileno(stdout), _O_BINARY);
  long count = 1;
  int i = 1;
  for (; i + 1 < argc && argv[i][0] == L'-'; i += 2) {
    if (std::wstring(argv[i]) == L"--count") count = std::wcstol(argv[i + 1], nullptr, 10);
    if (std::wstring(argv[i]) == L"--temp") {
      SetEnvironmentVariableW(L"TEMP", argv[i + 1]);
      SetEnvironmentVariableW(L"TMP", argv[i + 1]);
    }
  }
  if (i + 1 != argc || count < 1) {
    std::fputs("usage: urlmon_client [--count N] [--temp FOLDER] URL\n", stderr);
    return 1;
  }
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  long first = 0;
  for (long n = 1; n <= count; ++n) {
    std::string page;
    HRESULT hr = vn::test::FetchPage(argv[i], page);
    if (FAILED(hr)) {
      std::fprintf(stderr, "URLOpenStreamW 0x%08lX\n", static_cast<unsigned long>(hr));
      return 2;
    }
    if (n == 1) {
      std::fwrite(page.data(), 1, page.size(), stdout);
      first = vn::test::HandleCount();
    }
  }
  if (count > 1) std::fprintf(stderr, "handles %ld %ld\n", first, vn::test::HandleCount());
  CoUninitialize();
  return 0;
}
