-- The demo customer database: customers, invoices with their items, open items and
-- contact persons, as an accounting system would hold them.
CREATE TABLE Kunden (
  KundenNr VARCHAR(10) PRIMARY KEY,
  Name VARCHAR(80) NOT NULL,
  Strasse VARCHAR(80),
  PLZ VARCHAR(10),
  Ort VARCHAR(60),
  Telefon VARCHAR(30),
  Umsatz CURRENCY,
  KundeSeit DATE
);

CREATE TABLE Rechnungen (
  RechnungNr INTEGER PRIMARY KEY,
  KundenNr VARCHAR(10) NOT NULL REFERENCES Kunden (KundenNr),
  Datum DATE NOT NULL,
  Betrag CURRENCY NOT NULL,
  Bezahlt BOOLEAN NOT NULL DEFAULT 0
);

CREATE TABLE Positionen (
  PositionID INTEGER PRIMARY KEY,
  RechnungNr INTEGER NOT NULL REFERENCES Rechnungen (RechnungNr),
  Pos INTEGER NOT NULL,
  Artikel VARCHAR(80) NOT NULL,
  Menge DOUBLE NOT NULL,
  Einzelpreis CURRENCY NOT NULL
);

CREATE TABLE OffenePosten (
  OPNr INTEGER PRIMARY KEY,
  KundenNr VARCHAR(10) NOT NULL REFERENCES Kunden (KundenNr),
  RechnungNr INTEGER REFERENCES Rechnungen (RechnungNr),
  Faellig DATE NOT NULL,
  Betrag CURRENCY NOT NULL,
  Mahnstufe INTEGER NOT NULL DEFAULT 0
);

CREATE TABLE Ansprechpartner (
  ID INTEGER PRIMARY KEY,
  KundenNr VARCHAR(10) NOT NULL REFERENCES Kunden (KundenNr),
  Name VARCHAR(80) NOT NULL,
  Funktion VARCHAR(60),
  Telefon VARCHAR(30),
  EMail VARCHAR(80)
);

INSERT INTO Kunden VALUES
  ('K10001', 'Müller & Söhne GmbH', 'Hauptstraße 12', '50667', 'Köln', '0221 123456', 48250.75, '2015-03-01'),
  ('K10002', 'Bäckerei Größl', 'Am Markt 3', '80331', 'München', '089 987654', 12780.40, '2019-09-15'),
  ('K10003', 'Nordlicht Handels AG', 'Speicherstadt 7', '20457', 'Hamburg', NULL, 0, '2024-01-10');

INSERT INTO Rechnungen VALUES
  (2024001, 'K10001', '2024-02-14', 1785.00, 1),
  (2024017, 'K10001', '2024-06-03', 2541.30, 1),
  (2024042, 'K10001', '2024-11-20', 969.85, 0),
  (2024005, 'K10002', '2024-03-08', 412.50, 1),
  (2024051, 'K10002', '2024-12-02', 1234.56, 0);

INSERT INTO Positionen (RechnungNr, Pos, Artikel, Menge, Einzelpreis) VALUES
  (2024001, 1, 'Schraubensortiment „Profi“', 10, 49.50),
  (2024001, 2, 'Akkuschrauber', 4, 322.50),
  (2024017, 1, 'Werkbank Eiche', 2, 899.00),
  (2024017, 2, 'Montage', 7.5, 99.04),
  (2024042, 1, 'Wartungsvertrag Q4', 1, 969.85),
  (2024005, 1, 'Mehl Type 550, 25 kg', 15, 27.50),
  (2024051, 1, 'Backofenreinigung', 1, 1234.56);

INSERT INTO OffenePosten (KundenNr, RechnungNr, Faellig, Betrag, Mahnstufe) VALUES
  ('K10001', 2024042, '2024-12-20', 969.85, 1),
  ('K10001', NULL, '2025-01-31', 150.00, 0),
  ('K10002', 2024051, '2025-01-02', 1234.56, 2);

INSERT INTO Ansprechpartner (KundenNr, Name, Funktion, Telefon, EMail) VALUES
  ('K10001', 'Jürgen Müller', 'Geschäftsführer', '0221 123456-10', 'j.mueller@mueller-soehne.example'),
  ('K10001', 'Anna Weiß', 'Einkauf', '0221 123456-22', 'a.weiss@mueller-soehne.example'),
  ('K10002', 'Franz Größl', 'Inhaber', '089 987654', 'franz@baeckerei-groessl.example');
