#include "config/core/record_status.h"

namespace vn::config {

std::string RecordStatusText(long status) {
  static const struct {
    long flag;
    const char* text;
  } kTexts[] = {
      {0x1,
       "Der Datensatz ist ein neuer anstehender Datensatz, der noch nicht in der Datenbank "
       "gespeichert wurde."},
      {0x2,
       "Der Datensatz wurde modifiziert. Dieser Wert wird nicht für gelöschte oder "
       "eingefügte, sondern nur für bereits bestehnde Datensätze verwendet, die modifiziert "
       "wurden."},
      {0x4, "Der Datensatz wurde aus der Datensatzgruppe gelöscht."},
      {0x8, "Es gibt keine anstehenden Änderungen in diesen Datensatz."},
      {0x10, "Der Datensatz wurde nicht gespeichert, da sein Lesezeichen unzulässig ist."},
      {0x40, "Der Datensatz wurde nicht gespeichert, da dies mehrere Datesätze betreffen würde."},
      {0x80,
       "Der Datensatz wurde nicht gespeichert, da er einen anstehenden Einfügevorgang "
       "referenziert."},
      {0x100, "Der Datensatz wurde nicht gespeichert, da der Vorgang abgebrochen wurde."},
      {0x400, "Der Datensatz wurde nicht gespeichert, da Sperrungen vorhanden sind."},
      {0x800,
       "Der Datensatz wurde nicht gespeichert, da die vollständige Parallelität eingesetzt "
       "wird."},
      {0x1000,
       "Der Datensatz wurde nicht gespeichert, da der Benutzer die "
       "Integritätseinschränkungen verletzt hat."},
      {0x2000,
       "Der Datensatz wurde nicht gespeichert, da zu viele anstehenden Änderungen "
       "vorhanden sind."},
      {0x4000,
       "Der Datensatz wurde nicht gespeichert, da ein Konflikt mit einem geöffneten "
       "Speicherobjekt besteht."},
      {0x8000,
       "Der Datensatz wurde nicht gespeichert, da der Computer nicht über ausreichenden "
       "Speicher verfügt."},
      {0x10000,
       "Der Datensatz wurde nicht gespeichert, da der Benutzer keine ausreichenden "
       "Berechtigungen besitzt."},
      {0x20000,
       "Der Datensatz wurde nicht gespeichert, da er die Struktur der "
       "zugrundeliegenden Datenbank verletzt."},
      {0x40000, "Der Datensatz wurde aus der Datenquelle gelöscht."},
  };
  std::string text;
  for (const auto& entry : kTexts) {
    if ((status & entry.flag) != 0) text += std::string("\n") + entry.text;
  }
  return text;
}

std::string GetADOEventReason(int reason) {
  static const char* const kWords[] = {"AddNew",     "Delete",       "Update",      "UndoUpdate",
                                       "UndoAddNew", "UndoDelete",   "Requery",     "Resynch",
                                       "Close",      "Move",         "FirstChange", "MoveFirst",
                                       "MoveNext",   "MovePrevious", "MoveLast"};
  if (reason < 1 || reason > 15) return "Unkown";
  return kWords[reason - 1];
}

}  // namespace vn::config
