// Feeds arbitrary bytes as the ACT! stand-in file to the bridge's operations and the source
// command parser: a file of any shape is either read or reported as an automation error.
#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "act/act_application.h"
#include "act/act_data_parser.h"
#include "platform/module_path.h"
#include "platform/runtime_error.h"

namespace {

std::string Prepare() {
  static std::string path;
  if (!path.empty()) return path;
  char pattern[] = "/tmp/vn-fuzz-standin-XXXXXX";
  static const std::string dir = mkdtemp(pattern);
  std::atexit([] { std::filesystem::remove_all(dir); });
  path = dir + "/act.json";
  setenv("VARNOLIS_ACT", path.c_str(), 1);
  setenv("LANG", "de_DE.UTF-8", 1);
  vn::OverrideLibraryFolder(dir);
  return path;
}

// Each operation on its own: an automation error ends that one only.
template <typename Operation>
void Try(Operation operation) {
  try {
    operation();
  } catch (const vn::RuntimeError&) {
    // The stand-in reports a malformed file, an injected failure or a bad argument this way.
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = Prepare();
  std::ofstream(path, std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  vn::clACTApplication act;
  Try([&] { act.ACTgestartet(); });
  Try([&] { act.ACTDatenbank(); });
  Try([&] { act.AktuellerViewTyp(); });
  Try([&] { act.getFeldwert(25, vn::avKontakt, false); });
  Try([&] { act.getFeldwert(25, vn::avGruppe, true); });
  Try([&] { act.AktuelleKontaktID(); });
  Try([&] { act.AktuelleFeldID(); });
  Try([&] { act.getIDsAktuelleSuche(nullptr); });
  Try([&] { act.GroupExist("G"); });
  Try([&] {
    std::vector<std::string> paths;
    act.GetAttachments(paths);
  });
  Try([&] { act.gehezuKonatkt("C2"); });
  Try([&] { act.neuerKontakt(); });
  Try([&] { act.ExecuteMenuCommand(7); });
  Try([&] {
    vn::clACTDataParser parser;
    parser.Init(&act, "");
    parser.Parse("SELECT '{!kontakt,25}' WHERE a = {!gruppe,25}", vn::ParsedText::kSql);
  });
  return 0;
}
