// Feeds arbitrary text to the ACT! source command parser against a running stand-in ACT!
// whose contact holds values with separators, quotes and markup, and link-product INI files.
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <string>

#include "act/act_application.h"
#include "act/act_data_parser.h"
#include "platform/module_path.h"
#include "platform/runtime_error.h"

namespace {

void Prepare() {
  static bool done = false;
  if (done) return;
  done = true;
  char pattern[] = "/tmp/vn-fuzz-act-XXXXXX";
  const std::string dir = mkdtemp(pattern);
  std::ofstream(dir + "/act.json")
      << R"({"windows": [{"class": "act3.0frameclass", "title": "ACT! - Fuzz"}],
             "database": "Fuzz.dbf", "activeView": 1,
             "contact": {"1": "C1", "25": "A;B;C", "27": "O'Neil", "28": "<b a=\"x\">&amp;</b>",
                         "58": "M01.dat", "61": "OL,1,2,3"},
             "group": {"25": "G"}})";
  std::ofstream(dir + "/Brimlow.ini")
      << "[Brimlow]\nID_Nummer=25|x\nID_Mandant=58\nPCKpfad=" << dir << "/\n";
  std::ofstream(dir + "/Tessaran.ini") << "[Tessaran]\nODBC=ODBC;DSN=x\nID_Code=61\nID_Typ=abc\n";
  setenv("VARNOLIS_ACT", (dir + "/act.json").c_str(), 1);
  setenv("LANG", "de_DE.UTF-8", 1);
  vn::OverrideLibraryFolder(dir);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Prepare();
  const std::string text(reinterpret_cast<const char*>(data), size);
  vn::clACTApplication act;
  // The same text as every kind of text the parser is given.
  for (vn::ParsedText kind : {vn::ParsedText::kAsRead, vn::ParsedText::kPageText,
                              vn::ParsedText::kSql, vn::ParsedText::kJetSql}) {
    vn::clACTDataParser parser;
    parser.Init(&act, "");
    try {
      std::string result = parser.Parse(text, kind);
      if (parser.Failed() && result != parser.Text()) abort();
      // In page text a value brings no markup character: only the text around it may.
      if (kind == vn::ParsedText::kPageText) {
        for (char c : {'<', '>', '"', '\''}) {
          if (std::count(result.begin(), result.end(), c) > std::count(text.begin(), text.end(), c))
            abort();
        }
      }
      (void)parser.ErrDescription();
    } catch (const vn::RuntimeError&) {
      // Part numbers and separator codes that are not numbers fail as the platform's
      // conversion would.
    }
  }
  return 0;
}
