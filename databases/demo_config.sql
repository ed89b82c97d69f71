-- The demo configuration: one rubric per display format over the demo customer database
-- (databases/demo.db), selecting the current ACT! contact's customer number (field 25).
-- Row 1 of each table is the protected start entry.
INSERT INTO Rubriken (ID_Rubrik, Rang, Rubrik, Menuetext, Titel, Bemerkung) VALUES
  (1, 1, 'Start', 'Übersicht', 'Kundenübersicht', 'Startrubrik: Stammdaten und Ansprechpartner des aktuellen Kontakts'),
  (2, 2, 'Rechnungen', 'Rechnungen', 'Rechnungen mit Positionen', 'Dreistufige Tabelle: Kunde, Rechnungen, Positionen'),
  (3, 3, 'Offene_Posten', 'Offene Posten', 'Offene Posten', 'Flache Tabelle mit Betrags- und Datumsformaten'),
  (4, 4, 'Info', 'Info', 'Über Varnolis', 'Versionsinformationen'),
  (5, 5, 'Notizen', 'Notizen', 'Notizen zum Kontakt', 'Werte direkt aus dem aktuellen ACT!-Kontakt');

INSERT INTO Daten (ID_Daten, Titel, Format_ID, Datenquelle, Abfrage, Bemerkung) VALUES
  (1, 'Kundenstammdaten', 2, 'Provider=SQLite;Data Source=databases/demo.db',
   'SELECT KundenNr AS [Kunden-Nr.], Name, Strasse AS [Straße], PLZ, Ort, Telefon, Umsatz, KundeSeit AS [Kunde seit] FROM Kunden WHERE KundenNr = ''{!kontakt, 25}''',
   'Karteikarte des aktuellen Kontakts'),
  (2, 'Rechnungen', 1, 'Provider=SQLite;Data Source=databases/demo.db',
   'SHAPE {SELECT KundenNr AS hide_KundenNr, KundenNr AS [Kunden-Nr.], Name FROM Kunden WHERE KundenNr = ''{!kontakt, 25}''}  AS Kunde APPEND ((SHAPE {SELECT RechnungNr AS hide_RechnungNr, KundenNr AS hide_KundenNr, RechnungNr AS [right_Rechnung], Datum AS [formatdd*mm*yyyy_Datum], Betrag AS [right_format#,##0.00_Betrag], Bezahlt FROM Rechnungen ORDER BY Datum}  AS Rechnungen APPEND ({SELECT RechnungNr AS hide_RechnungNr, Pos AS [right_Pos], Artikel, Menge AS [right_format0*00_Menge], Einzelpreis AS [right_format#,##0.00_Einzelpreis], Menge * Einzelpreis AS [right_format#,##0.00_Summe] FROM Positionen ORDER BY RechnungNr, Pos}  AS Positionen RELATE hide_RechnungNr TO hide_RechnungNr) AS Positionen) AS Rechnungen RELATE hide_KundenNr TO hide_KundenNr) AS Rechnungen',
   'Kunde, seine Rechnungen und deren Positionen'),
  (3, 'Offene Posten', 0, 'Provider=SQLite;Data Source=databases/demo.db',
   'SELECT OPNr AS hide_OPNr, RechnungNr AS [right_Rechnung], Faellig AS [right_formatdd*mm*yyyy_Fällig am], Betrag AS [right_format#,##0.00_Betrag], Mahnstufe AS [center_Mahnstufe] FROM OffenePosten WHERE KundenNr = ''{!kontakt, 25}'' ORDER BY Faellig',
   'Offene Posten, nach Fälligkeit'),
  (4, 'Ansprechpartner', 1, 'Provider=SQLite;Data Source=databases/demo.db',
   'SELECT ID AS hide_ID, Name, Funktion, Telefon, EMail AS [E-Mail] FROM Ansprechpartner WHERE KundenNr = ''{!kontakt, 25}'' ORDER BY Name',
   'Ansprechpartner des Kunden'),
  (5, 'Über Varnolis', 3, '', '', 'Informationsblock der Bibliothek'),
  (6, 'Kontakt in ACT!', 2, 'Provider=SQLite;Data Source=databases/demo.db',
   'SELECT ''{!kontakt, 25}'' AS [Kunden-Nr.], ''{!kontakt, 57}'' AS Firma, ''{!kontakt, 26, keine Angabe}'' AS Abteilung',
   'Zeigt, wie ACT!-Quellenkommandos in Abfragen wirken');

INSERT INTO Zuordnungen (ID_Zuordnung, Rubrik_ID, Daten_ID, Rang) VALUES
  (1, 1, 1, 1),
  (2, 1, 4, 2),
  (3, 2, 2, 1),
  (4, 3, 3, 1),
  (5, 3, 1, 0),
  (6, 4, 5, 1),
  (7, 5, 6, 1);
