-- The display formats offered in the editor; the library dispatches on the identifiers. Format 0
-- is drawn exactly as format 1 (its rows start folded too), and is named so.
INSERT INTO Formate (ID_Format, Beschreibung) VALUES
  (0, 'Hierarchische Tabelle (wie Format 1)'),
  (1, 'Hierarchische Tabelle'),
  (2, 'Datenblatt (Karteikarte)'),
  (3, 'Informationsblock');
