-- The configuration database: rubrics, data entries, their assignments, display formats.
-- Text compares without regard to case, as in the Jet database it stands in for; the
-- Jet provider's NOCASE folds umlauts too.
CREATE TABLE Rubriken (
  ID_Rubrik INTEGER PRIMARY KEY AUTOINCREMENT,
  Rang INTEGER NOT NULL DEFAULT 0,
  Rubrik VARCHAR(255) COLLATE NOCASE,
  Menuetext VARCHAR(255) COLLATE NOCASE,
  Titel VARCHAR(255) COLLATE NOCASE,
  Bemerkung LONGTEXT COLLATE NOCASE
);

CREATE TABLE Formate (
  ID_Format INTEGER PRIMARY KEY,
  Beschreibung VARCHAR(255) COLLATE NOCASE
);

CREATE TABLE Daten (
  ID_Daten INTEGER PRIMARY KEY AUTOINCREMENT,
  Titel VARCHAR(255) COLLATE NOCASE,
  Format_ID INTEGER NOT NULL DEFAULT 1 REFERENCES Formate (ID_Format),
  Datenquelle LONGTEXT COLLATE NOCASE,
  Abfrage LONGTEXT COLLATE NOCASE,
  Bemerkung LONGTEXT COLLATE NOCASE
);

CREATE TABLE Zuordnungen (
  ID_Zuordnung INTEGER PRIMARY KEY AUTOINCREMENT,
  Rubrik_ID INTEGER NOT NULL REFERENCES Rubriken (ID_Rubrik),
  Daten_ID INTEGER NOT NULL REFERENCES Daten (ID_Daten),
  Rang INTEGER NOT NULL DEFAULT 0
);

CREATE INDEX Zuordnungen_Rubrik ON Zuordnungen (Rubrik_ID, Rang);
