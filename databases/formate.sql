-- The display formats offered in the editor; the library dispatches on the identifiers.
INSERT INTO Formate (ID_Format, Beschreibung) VALUES
  (0, 'Hierarchische Tabelle (aufgeklappt)'),
  (1, 'Hierarchische Tabelle'),
  (2, 'Datenblatt (Karteikarte)'),
  (3, 'Informationsblock');
