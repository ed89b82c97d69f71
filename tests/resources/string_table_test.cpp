#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "resources/res_text.h"
#include "resources/string_table.h"
#include "tests/handler/test_folder.h"

namespace vn::test {
namespace {

TEST(StringTableTest, MessagesHaveBothLanguagesAndMarkupTemplatesGermanOnly) {
  // Messages (below 300, and the version texts from 801) are shown to users in their language;
  // the markup templates and path constants are the same bytes for everyone.
  int present = 0;
  for (int id = 0; id < 2000; ++id) {
    const StringEntry* entry = FindStringEntry(id);
    if (entry == nullptr) continue;
    ++present;
    EXPECT_NE(entry->german, nullptr) << id;
    EXPECT_EQ(entry->english != nullptr, id < 300 || (id > 800 && id < 900)) << id;
  }
  EXPECT_GT(present, 100);  // the table is there, not empty
}

TEST(StringTableTest, TextsKeepTheirOddSpacingInBothLanguages) {
  TestFolder folder("de_DE.UTF-8");
  EXPECT_EQ(ResText(106, "a", "b"),
            "Es konnte  kein Recordclone erstellt werden.<br>Connection String:a<br>SQL String:b");
  EXPECT_EQ(ResText(804, "(c) X"), "Copyright (c) X");
  EXPECT_EQ(ResText(182, "Umsatz"),
            "Es wurden keine Zuordnungen f\xC3\xBCr die Rubrik 'Umsatz' gefunden.");
  EXPECT_EQ(ResText(105), "Der Zugriff auf Daten hat einen Fehler verursacht.");
  EXPECT_EQ(ResText(902), "/ResourceHTML/styles.css");
  TestFolder::SetLanguage("fr_FR.UTF-8");  // any other language is English
  EXPECT_EQ(
      ResText(168),
      "The current ACT! contact have no  informations about the PC-Kaufmann client (Mandant).");
  EXPECT_EQ(ResText(160, "x"), "Error when merging ACT! data.<x>");
  EXPECT_EQ(ResText(804, "(c) X"), "copyright (c) X");
  EXPECT_EQ(ResText(1103), "test");
}

std::string SourceFile(const std::string& name) {
  return ReadFile(std::string(VARNOLIS_SOURCE_DIR) + "/ResourceHTML/" + name);
}

TEST(ResourceHtmlTest, StylesheetScriptsAndImagesThePagesUse) {
  const std::string css = SourceFile("styles.css");
  for (const char* cls : {"bodystyle",
                          "divwindow",
                          "mb0",
                          "mb1",
                          "mb2",
                          "mt0",
                          "mt1",
                          "title0",
                          "title1",
                          "title2",
                          "errortitle",
                          "errortext",
                          "infotitle",
                          "infotext",
                          "htmllisttitle",
                          "htmllistname",
                          "htmllistvalue",
                          "u0",
                          "u1",
                          "u2",
                          "u3",
                          "u4",
                          "t0",
                          "t1",
                          "t2",
                          "t3",
                          "t4"}) {
    EXPECT_NE(css.find(std::string(".") + cls + " {"), std::string::npos) << cls;
  }
  const std::string vbs = SourceFile("plusminus.vbs");
  for (const char* sub : {"Sub DisplayItem(imageName, elementId)", "Sub Point(imageName)",
                          "Sub DontPoint(imageName)", "strPlus", "strMinus"}) {
    EXPECT_NE(vbs.find(sub), std::string::npos) << sub;
  }
  const std::string js = SourceFile("varnolis.js");
  for (const char* sub : {"window.DisplayItem", "window.Point", "window.DontPoint", "onclick"}) {
    EXPECT_NE(js.find(sub), std::string::npos) << sub;
  }
  for (const char* f : {"polling.vbs", "clhtmlmenu.vbs", "clhtmlinfo.vbs", "clhtmllist.vbs",
                        "clhierachicalspreadsheet.vbs"}) {
    EXPECT_FALSE(SourceFile(f).empty()) << f;
  }
  for (auto [name, size] : {std::pair{"plus.gif", 11}, {"minus.gif", 11}, {"qxlogo.gif", 32}}) {
    const std::string gif = SourceFile(name);
    ASSERT_GT(gif.size(), 13u) << name;
    EXPECT_EQ(gif.substr(0, 6), "GIF89a");
    EXPECT_EQ(static_cast<unsigned char>(gif[6]), size);
    EXPECT_EQ(static_cast<unsigned char>(gif[8]), size);
    EXPECT_EQ(gif.back(), ';');
  }
}

}  // namespace
}  // namespace vn::test
