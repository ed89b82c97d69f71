// The tables and columns of the configuration database as every part that reads or writes it
// names them: the library's menu and entries, the configuration program, the contact tab and the
// converter of older configuration databases. databases/schema.sql makes these tables; a test
// holds the two together.
#pragma once

namespace vn::configdb {

// Tables.
inline constexpr char kRubriken[] = "Rubriken";        // the rubrics, one page each
inline constexpr char kDaten[] = "Daten";              // the data entries
inline constexpr char kZuordnungen[] = "Zuordnungen";  // the entries of each rubric
inline constexpr char kFormate[] = "Formate";          // the forms an entry is shown in

// Columns; a name that two tables share is one constant.
inline constexpr char kIdRubrik[] = "ID_Rubrik";
inline constexpr char kRubrik[] = "Rubrik";
inline constexpr char kMenuetext[] = "Menuetext";
inline constexpr char kIdDaten[] = "ID_Daten";
inline constexpr char kFormatId[] = "Format_ID";
inline constexpr char kDatenquelle[] = "Datenquelle";
inline constexpr char kAbfrage[] = "Abfrage";
inline constexpr char kIdZuordnung[] = "ID_Zuordnung";
inline constexpr char kRubrikId[] = "Rubrik_ID";
inline constexpr char kDatenId[] = "Daten_ID";
inline constexpr char kIdFormat[] = "ID_Format";
inline constexpr char kBeschreibung[] = "Beschreibung";
inline constexpr char kTitel[] = "Titel";          // Rubriken and Daten
inline constexpr char kBemerkung[] = "Bemerkung";  // Rubriken and Daten
inline constexpr char kRang[] = "Rang";            // Rubriken and Zuordnungen: the order

// The name under which the library's query of a rubric's entries delivers Format_ID.
inline constexpr char kFormat[] = "Format";

}  // namespace vn::configdb
