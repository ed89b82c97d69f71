#include "act/act_data_parser.h"

#include <gtest/gtest.h>

#include "act/act_application.h"
#include "act_fixture.h"
#include "platform/runtime_error.h"

namespace {

class ActDataParserTest : public vn::test::ActFixture {
 protected:
  // The result of one Parse on a new parser with its own bridge.
  std::string Parse(const std::string& text, vn::ParsedText kind = vn::ParsedText::kAsRead) {
    vn::clACTApplication act;
    vn::clACTDataParser parser;
    EXPECT_TRUE(parser.Init(&act, ""));
    std::string result = parser.Parse(text, kind);
    if (parser.Failed()) {
      EXPECT_EQ(result, parser.Text());
      return std::to_string(parser.ErrNumber()) + ": " + parser.ErrText();
    }
    return result;
  }
  void WriteContact(const std::string& contact, int activeView = 1) {
    WriteRunningAct(activeView, contact, R"("group": {"1": "G1", "25": "Großkunden"})");
  }
};

TEST_F(ActDataParserTest, TextWithoutCommandsIsTrimmedOnly) {
  vn::clACTDataParser parser;
  parser.Init(nullptr, "");
  EXPECT_EQ(parser.Parse("  select * from {x} where a{b\t ", vn::ParsedText::kAsRead),
            "select * from {x} where a{b\t");
  EXPECT_EQ(parser.Text(), "select * from {x} where a{b\t");
  EXPECT_EQ(parser.Parse("abc{!", vn::ParsedText::kAsRead), "abc");
  EXPECT_EQ(parser.Parse("a{", vn::ParsedText::kAsRead), "a{");
  EXPECT_EQ(parser.Parse("{!", vn::ParsedText::kAsRead), "");
  EXPECT_EQ(parser.ErrNumber(), 100);
  EXPECT_EQ(parser.ErrDescription(), "");
}

TEST_F(ActDataParserTest, ChecksForBridgeRunningActAndOpenDatabaseComeFirst) {
  vn::clACTDataParser parser;
  parser.Init(nullptr, "");
  EXPECT_EQ(parser.Parse("x {!kontakt, 25}", vn::ParsedText::kAsRead), "x {!kontakt, 25}");
  EXPECT_EQ(parser.ErrNumber(), 121);
  EXPECT_EQ(parser.ErrText(), "Es gibt keine OLE-Verbindung zu ACT!.");

  for (const char* text :
       {"{!kontakt, 25}", "{!, 25}", "{!kontakt}", "{!foo, 1}", "{!brimlow, x}"}) {
    EXPECT_EQ(
        Parse(text),
        "122: Der Zugriff auf die ACT!-Daten ist nich möglich, weil kein ACT! gestartet wurde.")
        << text;
  }
  WriteAct(R"({"windows": [{"class": "act3.0frameclass", "title": "ACT!"}], "activeView": 1})");
  EXPECT_EQ(Parse("{!foo}"),
            "123: Der Zugriff auf die ACT!-Daten ist nich möglich, weil keine ACT!-Datenbank "
            "geöffnet ist.");
}

TEST_F(ActDataParserTest, ContactValuesWithPartsDefaultsAndQuotes) {
  WriteContact(R"({"25": "A;B;C", "27": "O'Neil", "28": ";X", "29": "a'b|c'd"})");
  EXPECT_EQ(Parse("{!kontakt, 25, 2, 59}"), "B");
  EXPECT_EQ(Parse("{!kontakt, 25, 4, 59}"), "4");
  EXPECT_EQ(Parse("{!KONTAKT, 26, Keine Angabe}"), "keine angabe");
  EXPECT_EQ(Parse("{!k, 26, ÄRGER}"), "ärger");
  EXPECT_EQ(Parse("name = '{!c,27}' and x = '{!contact , 25}'"), "name = 'O'Neil' and x = 'A;B;C'");
  EXPECT_EQ(Parse("name = '{!c,27}' and x = '{!contact , 25}'", vn::ParsedText::kSql),
            "name = 'O''Neil' and x = 'A;B;C'");
  // A part is picked from the value as read; the quotes are doubled in the part.
  EXPECT_EQ(Parse("{!kontakt, 29, 2, 124}"), "c'd");
  EXPECT_EQ(Parse("'{!kontakt, 29, 2, 124}'", vn::ParsedText::kSql), "'c''d'");
  // A separator in the first position makes an empty first part, so the default applies.
  EXPECT_EQ(Parse("{!kontakt, 28, 1, 59}"), "1");
  EXPECT_EQ(Parse("{!kontakt, 28, 2, 59}"), "X");
  EXPECT_EQ(Parse("{!kontakt, 25, 0, 59}"), "0");
  // Field 3 alone is only the default.
  EXPECT_EQ(Parse("{!kontakt, 25, 2}"), "A;B;C");
}

TEST_F(ActDataParserTest, NumbersAreRoundedHalfToEven) {
  WriteContact(R"({"24": "vierundzwanzig", "25": "A;B;C", "26": "sechsundzwanzig"})");
  EXPECT_EQ(Parse("{!kontakt, 24.5}"), "vierundzwanzig");
  EXPECT_EQ(Parse("{!kontakt, 25.5}"), "sechsundzwanzig");
  EXPECT_EQ(Parse("{!kontakt, 2.5e1}"), "A;B;C");
  EXPECT_EQ(Parse("{!kontakt, +25.4}"), "A;B;C");
  EXPECT_EQ(Parse("{!kontakt, 25, 2.5, 59.2}"), "B");
  EXPECT_EQ(Parse("{!kontakt, 25, 1.5, 59}"), "B");
  EXPECT_EQ(Parse("{!kontakt, 0x19}"),
            "171: Der Kontaktbefehl im ACT!-Quellenkommando 'kontakt, 0x19' hat keine Feld-ID als "
            "Parameter.");
  EXPECT_EQ(Parse("{!kontakt, 1.000}"), "");
}

TEST_F(ActDataParserTest, ABraceCannotEndAnEmptyCommand) {
  WriteContact(R"({"25": "A;B;C"})");
  EXPECT_EQ(Parse("x{! }k, 25}y"), "xA;B;Cy");
  EXPECT_EQ(Parse("{!}{!}k,25}"),
            "163: Es fehlt der Parameter für den Befehl im ACT!-Quellenkommando '{!'.");
  EXPECT_EQ(Parse("{!} {!kontakt, 25}"), "173: Unbekanntes ACT!-Quellenkommando '{!kontakt, 25'.");
}

TEST_F(ActDataParserTest, CommandErrorsWithTheirGermanTexts) {
  WriteContact(R"({"25": "A"})");
  EXPECT_EQ(Parse("select {!kontakt, 25  "),
            "161: Im ACT!-Quellenkommando 'select {!kontakt, 25' fehlt eine geschlossene "
            "geschweifte Klammer.");
  EXPECT_EQ(Parse("{!, 25}"), "162: Es gibt keinen Befehl im ACT!-Quellenkomando ', 25'.");
  EXPECT_EQ(Parse("{!Kontakt}"),
            "163: Es fehlt der Parameter für den Befehl im ACT!-Quellenkommando 'kontakt'.");
  EXPECT_EQ(Parse("{!kontakt, }"),
            "163: Es fehlt der Parameter für den Befehl im ACT!-Quellenkommando 'kontakt,'.");
  EXPECT_EQ(Parse("{!kontakt, ABC}"),
            "171: Der Kontaktbefehl im ACT!-Quellenkommando 'kontakt, abc' hat keine Feld-ID als "
            "Parameter.");
  EXPECT_EQ(Parse("{!gruppe, x}"),
            "172: Der Gruppenbefehl im ACT!-Quellenkommando 'gruppe, x' hat keine Feld-ID als "
            "Parameter.");
  EXPECT_EQ(Parse("{!Foo, 1}"), "173: Unbekanntes ACT!-Quellenkommando 'foo, 1'.");
  EXPECT_EQ(Parse("{!g, 25}"),
            "124: Für das ACT!-Quellenkommando 'g, 25' ist in ACT! die falsche Ansicht aktiv.");
  WriteContact(R"({"25": "A"})", 3);
  EXPECT_EQ(
      Parse("{!kontakt, 25}"),
      "124: Für das ACT!-Quellenkommando 'kontakt, 25' ist in ACT! die falsche Ansicht aktiv.");
  EXPECT_EQ(Parse("{!group, 25} / {!gruppe, 26, leer}"), "Großkunden / leer");

  setenv("LANG", "en_US.UTF-8", 1);
  EXPECT_EQ(Parse("{!foo, 1}"), "173: Unkown ACT! source command 'foo, 1'.");
}

TEST_F(ActDataParserTest, AFailingCommandLeavesTheWholeTextAndTheErrorStays) {
  WriteContact(R"({"25": "A"})");
  vn::clACTApplication act;
  vn::clACTDataParser parser;
  parser.Init(&act, "/srv/varnolis");
  EXPECT_EQ(parser.Parse(" a={!k,25} b={!foo,1} c={!k,25} ", vn::ParsedText::kAsRead),
            "a={!k,25} b={!foo,1} c={!k,25}");
  EXPECT_EQ(parser.ErrNumber(), 173);
  const std::string description = parser.ErrDescription();
  EXPECT_NE(description.find("<B>Hinweis von Klasse clACTDataParser.</B>"), std::string::npos);
  EXPECT_NE(description.find("SRC=\"/srv/varnolis/ResourceHTML/plus.gif\""), std::string::npos);
  EXPECT_NE(description.find("<TD  CLASS=\"errortext\">173</TD><TD  CLASS=\"errortext\">"
                             "Unbekanntes ACT!-Quellenkommando 'foo,1'.</TD>"),
            std::string::npos);
  // The error is never reset: a later text with a command comes back unreplaced.
  EXPECT_EQ(parser.Parse("x={!k,25}", vn::ParsedText::kAsRead), "x={!k,25}");
  EXPECT_EQ(parser.ErrNumber(), 173);
  EXPECT_EQ(parser.Parse(" ohne Kommando ", vn::ParsedText::kAsRead), "ohne Kommando");
}

TEST_F(ActDataParserTest, AutomationErrorsReachTheCaller) {
  WriteContact(R"({"25": "A"})");
  vn::clACTApplication act;
  vn::clACTDataParser parser;
  parser.Init(&act, "");
  WriteRunningAct(1, "{}", R"("fail": {"GetField": -7})");
  EXPECT_THROW(parser.Parse("{!k,25}", vn::ParsedText::kAsRead), vn::RuntimeError);
  WriteContact(R"({"25": "A"})");
  EXPECT_THROW(parser.Parse("{!k,25,1,300}", vn::ParsedText::kAsRead),
               vn::RuntimeError);  // no such character
  EXPECT_THROW(parser.Parse("{!k,25,x,59}", vn::ParsedText::kAsRead),
               vn::RuntimeError);  // no part number
  EXPECT_THROW(parser.Parse("{!k,1e12}", vn::ParsedText::kAsRead), vn::RuntimeError);  // overflow
}

class LinkProductsTest : public ActDataParserTest {
 protected:
  void SetUp() override {
    ActDataParserTest::SetUp();
    pck_ = dir_ + "/PCK/";
    std::filesystem::create_directories(pck_);
    WriteContact(R"({"57": "K'1", "58": "M01.dat", "61": "OL, 003, 12, 7", "62": "OL,004"})");
  }
  void WriteBrimlow(const std::string& extra) {
    WriteFile(ProgramFolder() + "/brimlow.INI",
              "[Brimlow]\r\nID_Nummer=57|Kundennummer\r\nID_Mandant = 58\r\nPCKpfad=" + pck_ +
                  "\r\n" + extra);
  }
  std::string pck_;
};

TEST_F(LinkProductsTest, Brimlow) {
  EXPECT_EQ(Parse("{!brimlow, nummer}"), "164: Es konnte nicht die Datei '" + ProgramFolder() +
                                             "/Brimlow.ini' gefunden werden.");
  WriteBrimlow("ID_Typ=abc|x\r\n");
  EXPECT_EQ(Parse("{!brimlow, nummer}"), "K'1");
  EXPECT_EQ(Parse("{!brimlow, Number}"), "K'1");
  EXPECT_EQ(Parse("{!brimlow, mandant}"),
            "169: Die Mandantendatei '" + pck_ +
                "M01.dat' konnte nicht gefunden werden.<br>Bitte kontrollieren Sie die "
                "Konfiguration von Brimlow.");
  WriteFile(pck_ + "M01.dat", "");
  EXPECT_EQ(Parse("{!brimlow, mandant}"), pck_ + "M01.dat");
  EXPECT_EQ(Parse("{!brimlow, typ}"),
            "167: Der erste Wert von Eintrag 'ID_Typ' aus der 'Brimlow.ini' Datei ist nicht "
            "numerisch.<br>Bitte kontrollieren Sie die Konfiguration von Brimlow.");
  EXPECT_EQ(Parse("{!brimlow, kunde}"),
            "165: Unbekannter Parameter im ACT!-Quellenkomando 'brimlow, kunde'.");
  WriteBrimlow("ID_Typ=59\r\n");
  EXPECT_EQ(Parse("{!brimlow, typ, Privat}"), "privat");
  WriteFile(ProgramFolder() + "/brimlow.INI", "[Brimlow]\r\nID_Mandant=58\r\nPCKpfad=\r\n");
  EXPECT_EQ(Parse("{!brimlow, nummer}"),
            "166: Der Eintrag 'ID_Nummer' fehlt in der 'Brimlow.ini' Datei.<br>Bitte kontrollieren "
            "Sie die Konfiguration von Brimlow.");
  EXPECT_EQ(Parse("{!brimlow, mandant}"),
            "168: Der ACT!-Kontakt hat keine Angaben über den PC-Kaufmann Mandanten.");
  WriteContact(R"({"57": "K1"})", 3);
  EXPECT_EQ(Parse("{!brimlow, nummer}"),
            "124: Für das ACT!-Quellenkommando 'brimlow, nummer' ist in ACT! die falsche Ansicht "
            "aktiv.");
}

TEST_F(LinkProductsTest, Tessaran) {
  EXPECT_EQ(Parse("{!tessaran, odbc}"), "164: Es konnte nicht die Datei '" + ProgramFolder() +
                                            "/Tessaran.ini' gefunden werden.");
  WriteFile(ProgramFolder() + "/Tessaran.ini",
            "[Tessaran]\nODBC=ODBC;DSN=OL;odbc;UID=sa\nID_Debitor=57|D\nID_Code=61\nID_Typ=\n");
  EXPECT_EQ(Parse("DSN={!tessaran, odbc}"), "DSN=DSN=OL;odbc;UID=sa");
  EXPECT_EQ(Parse("{!tessaran, kunde}|{!tessaran, debitor}"), "K'1|K'1");
  EXPECT_EQ(Parse("{!tessaran, mandant}/{!tessaran, adresse}/{!tessaran, ansprechpartner}"),
            "003/12/7");
  EXPECT_EQ(Parse("{!tessaran, lieferant}"),
            "166: Der Eintrag 'ID_Kreditor' fehlt in der 'Tessaran.ini' Datei.<br>Bitte "
            "kontrollieren Sie die Konfiguration von Tessaran.");
  EXPECT_EQ(Parse("{!tessaran, typ}"),
            "166: Der Eintrag 'ID_Typ' fehlt in der 'Tessaran.ini' Datei.<br>Bitte kontrollieren "
            "Sie die Konfiguration von Tessaran.");
  EXPECT_EQ(Parse("{!tessaran, bank}"),
            "165: Unbekannter Parameter im ACT!-Quellenkomando 'tessaran, bank'.");
  WriteFile(ProgramFolder() + "/Tessaran.ini", "[Tessaran]\nID_Code=62\n");
  EXPECT_EQ(Parse("{!tessaran, mandant}"), "004");
  EXPECT_EQ(Parse("{!tessaran, adresse}"),
            "170: Der ACT! Kontakt hat keine Adressnummer in seinem Office-Line Schlüssselwert.");
  EXPECT_EQ(Parse("{!tessaran, ansprechpartner}"),
            "170: Der ACT! Kontakt hat keine Anprechpartnernummer in seinem Office-Line "
            "Schlüssselwert.");
  EXPECT_EQ(Parse("{!tessaran, odbc}"),
            "166: Der Eintrag 'ODBC' fehlt in der 'Tessaran.ini' Datei.<br>Bitte kontrollieren Sie "
            "die Konfiguration von Tessaran.");
  WriteContact(R"({"62": "OL"})");
  EXPECT_EQ(
      Parse("{!tessaran, mandant}"),
      "170: Der ACT! Kontakt hat keine Mandantennummer in seinem Office-Line Schlüssselwert.");
}

}  // namespace
