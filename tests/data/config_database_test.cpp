// The shipped configuration database, made from its scripts, read as the library and the
// configuration program read it.
#include "data/field.h"
#include "data_test_support.h"

namespace vn::data::test {
namespace {

class ConfigDatabaseTest : public DataTest {
 protected:
  void SetUp() override {
    DataTest::SetUp();
    MakeDatabase("databases/config.mdb", ReadSource("databases/schema.sql") +
                                             ReadSource("databases/formate.sql") +
                                             ReadSource("databases/demo_config.sql"));
    connection_.SetMode(adModeRead);
    connection_.Open("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + folder_ +
                     "/databases/config.mdb;Persist Security Info=False");
  }
  Connection connection_;
};

std::string EntriesOf(Connection& c, const std::string& rubric) {
  Recordset rs;
  rs.Open(
      "SELECT Rubriken.Rubrik, Daten.Titel, Daten.Datenquelle, Daten.Abfrage, "
      "Daten.Bemerkung, Daten.Format_ID AS Format, Zuordnungen.Rang FROM Daten INNER JOIN "
      "(Zuordnungen INNER JOIN Rubriken ON Zuordnungen.Rubrik_ID = Rubriken.ID_Rubrik) ON "
      "Daten.ID_Daten = Zuordnungen.Daten_ID WHERE (((Rubriken.Rubrik)=\"" +
          rubric + "\")) ORDER BY Zuordnungen.Rang",
      c, adOpenForwardOnly, adLockReadOnly, -1);
  std::string out;
  while (!rs.Eof()) {
    out += rs.Fields("Rubrik").Value().DebugText() + "/" + rs.Fields("Titel").Value().DebugText() +
           "/" + rs.Fields("Format").Value().DebugText() + "/" +
           rs.Fields("Rang").Value().DebugText() + ";";
    rs.MoveNext();
  }
  return out;
}

TEST_F(ConfigDatabaseTest, MenuStatementListsAllRubricsByRank) {
  Recordset rs;
  rs.Open("SELECT [Rubriken].* FROM [Rubriken] ORDER BY [Rang]", connection_, adOpenForwardOnly,
          adLockReadOnly, -1);
  std::string names;
  for (int i = 0; i < rs.FieldCount(); ++i) {
    names += rs.Fields(i).Name() + ":" + std::to_string(rs.Fields(i).Type()) + " ";
  }
  EXPECT_EQ(names, "ID_Rubrik:3 Rang:3 Rubrik:202 Menuetext:202 Titel:202 Bemerkung:203 ");
  EXPECT_EQ(rs.Fields("Rubrik").Value(), Variant("Start"));
  EXPECT_EQ(rs.Fields("ID_Rubrik").Value(), Variant(std::int64_t{1}));
  std::string rubrics;
  while (!rs.Eof()) {
    rubrics += rs.Fields("Rubrik").Value().DebugText() + " ";
    rs.MoveNext();
  }
  EXPECT_EQ(rubrics, "Start Rechnungen Offene_Posten Info Notizen ");
}

TEST_F(ConfigDatabaseTest, EntriesStatementFindsRubricsWithoutRegardToCase) {
  EXPECT_EQ(EntriesOf(connection_, "Offene_Posten"),
            "Offene_Posten/Kundenstammdaten/2/0;Offene_Posten/Offene Posten/0/1;");
  EXPECT_EQ(EntriesOf(connection_, "offene_posten"), EntriesOf(connection_, "Offene_Posten"));
  EXPECT_EQ(EntriesOf(connection_, "START"),
            "Start/Kundenstammdaten/2/1;Start/Ansprechpartner/1/2;");
  EXPECT_EQ(EntriesOf(connection_, "Info"), "Info/Über Varnolis/3/1;");
  EXPECT_EQ(EntriesOf(connection_, "notizen"), "Notizen/Kontakt in ACT!/2/1;");
  EXPECT_EQ(EntriesOf(connection_, "Unbekannt"), "");
  EXPECT_EQ(EntriesOf(connection_, "Titel"), "");
  EXPECT_EQ(EntriesOf(connection_, "Rang"), "");
}

TEST_F(ConfigDatabaseTest, FormatsAndEntriesFitTheRenderers) {
  Recordset formats;
  formats.Open("SELECT ID_Format, Beschreibung FROM Formate", connection_);
  EXPECT_EQ(Dump(formats),
            "0|Hierarchische Tabelle (wie Format 1);1|Hierarchische Tabelle;"
            "2|Datenblatt (Karteikarte);3|Informationsblock");
  Recordset daten;
  daten.Open("SELECT Format_ID, Datenquelle, Abfrage FROM Daten", connection_);
  while (!daten.Eof()) {
    std::string source = daten.Fields(1).Value().DebugText();
    std::string query = daten.Fields(2).Value().DebugText();
    if (daten.Fields(0).Value() != Variant(std::int64_t{3})) {
      EXPECT_EQ(source.rfind("Provider=", 0), 0u) << source;
      EXPECT_NE(query.find("{!kontakt, 25}"), std::string::npos) << query;
    }
    EXPECT_EQ(query.find_first_of("\r\n"), std::string::npos) << query;
    daten.MoveNext();
  }
}

TEST_F(ConfigDatabaseTest, ShapedAssignmentLookupGivesEveryRubricWithItsEntries) {
  // The demo configuration plus a rubric without assignments.
  MakeDatabase("databases/lookup.mdb",
               ReadSource("databases/schema.sql") + ReadSource("databases/formate.sql") +
                   ReadSource("databases/demo_config.sql") +
                   "INSERT INTO Rubriken (ID_Rubrik, Rang, Rubrik, Menuetext) "
                   "VALUES (6, 6, 'Leer', 'Leer');");
  Connection shaped;
  shaped.Open("PROVIDER=MSDataShape;DATA PROVIDER=MICROSOFT.JET.OLEDB.4.0;Data Source=" + folder_ +
              "/databases/lookup.mdb;Persist Security Info=False;");
  Recordset rs;
  rs.Open(
      "SHAPE {SELECT ID_Rubrik, Rubrik, Rang FROM Rubriken ORDER BY Rang}  AS "
      "luZuordnungenRubriken APPEND ({SELECT Daten.ID_Daten, Daten.Titel, "
      "Zuordnungen.ID_Zuordnung, Zuordnungen.Rubrik_ID, Zuordnungen.Rang FROM Zuordnungen, "
      "Daten WHERE Zuordnungen.Daten_ID = Daten.ID_Daten ORDER BY Zuordnungen.Rubrik_ID, "
      "Zuordnungen.Rang}  AS luZuordnungenDaten RELATE 'ID_Rubrik' TO 'Rubrik_ID') AS "
      "luZuordnungenDaten",
      shaped);
  EXPECT_EQ(rs.Fields(3).Name(), "luZuordnungenDaten");
  EXPECT_EQ(Dump(rs),
            "1|Start|1|{1|Kundenstammdaten|1|1|1;4|Ansprechpartner|2|1|2};"
            "2|Rechnungen|2|{2|Rechnungen|3|2|1};"
            "3|Offene_Posten|3|{1|Kundenstammdaten|5|3|0;3|Offene Posten|4|3|1};"
            "4|Info|4|{5|Über Varnolis|6|4|1};"
            "5|Notizen|5|{6|Kontakt in ACT!|7|5|1};"
            "6|Leer|6|{}");
}

TEST_F(ConfigDatabaseTest, DemoQueriesRunAgainstTheDemoDatabase) {
  MakeDatabase("databases/demo.db", ReadSource("databases/demo_customers.sql"));
  Recordset daten;
  daten.Open("SELECT Titel, Datenquelle, Abfrage FROM Daten WHERE Format_ID <> 3", connection_);
  while (!daten.Eof()) {
    std::string query = daten.Fields(2).Value().DebugText();
    query.replace(query.find("{!kontakt, 25}"), 14, "K10001");
    Connection c;
    c.Open("Provider=MSDataShape;Data " + daten.Fields(1).Value().DebugText());
    Recordset rs;
    rs.Open(query, c);
    EXPECT_FALSE(rs.Eof()) << daten.Fields(0).Value().DebugText();
    daten.MoveNext();
  }
}

}  // namespace
}  // namespace vn::data::test
