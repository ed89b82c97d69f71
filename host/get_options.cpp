#include "host/get_options.h"

#include <cerrno>
#include <cstdlib>
#include <iostream>

namespace vn::host {
namespace {

std::nullopt_t GetUsage(const std::string& problem) {
  std::cerr << "varnolis get: " << problem << "\n"
            << "usage: varnolis get [--cb N] [--trace] [-o FILE] [--library PATH] URL\n";
  return std::nullopt;
}

bool ParseCount(const char* text, unsigned long& value) {
  if (text == nullptr || *text < '0' || *text > '9') return false;
  errno = 0;
  char* end = nullptr;
  unsigned long parsed = std::strtoul(text, &end, 10);
  if (errno != 0 || *end != '\0' || parsed > 0xFFFFFFFFul) return false;
  value = parsed;
  return true;
}

}  // namespace

std::optional<GetOptions> ParseGetOptions(int argc, char** argv) {
  GetOptions options;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "--cb") {
      if (++i >= argc || !ParseCount(argv[i], options.cb)) return GetUsage("--cb needs a number");
    } else if (arg == "--trace") {
      options.trace = true;
    } else if (arg == "-o") {
      if (++i >= argc) return GetUsage("-o needs a file name");
      options.output = argv[i];
    } else if (arg == "--library") {
      if (++i >= argc) return GetUsage("--library needs a path");
      options.library = argv[i];
    } else if (!arg.empty() && arg[0] == '-' && arg != "-") {
      return GetUsage("unknown option " + arg);
    } else if (options.url.empty()) {
      options.url = arg;
    } else {
      return GetUsage("only one URL");
    }
  }
  if (options.url.empty()) return GetUsage("no URL");
  return options;
}

std::optional<std::string> ParseRegistrationOptions(int argc, char** argv, const char* name) {
  std::string path;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "--library" && i + 1 < argc) {
      path = argv[++i];
    } else {
      std::cerr << "usage: varnolis " << name << " [--library PATH]\n";
      return std::nullopt;
    }
  }
  return path;
}

}  // namespace vn::host
