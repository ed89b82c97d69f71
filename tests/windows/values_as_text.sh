# Values as text under Wine, sourced by e2e.sh while the test ACT! runs: a rubric whose menu
# text, title and remark hold ACT! values with markup, apostrophes, a "%s" and characters of the
# code page's upper half, over a database with such values in a record card and on both levels
# of a table, fetched through urlmon from a program folder whose name has an umlaut; the page
# equals the Linux page of a folder with the same files, and the link command finds Brimlow.ini
# in that folder (no message 164).
#
# Uses from e2e.sh: WINE, WINEPREFIX, WORK (with de_DE.reg), PROGRAM, LINUX_DIR, ACT_STATE, act,
# set_state, wine_de, windows_path, pass, fail, linux_page, windows_page, in_program. Leaves the registration and the ACT! state (the
# demo's) as it found them.
# shellcheck shell=bash

values_as_text() {
  local win_dir='C:\Programme\Büro Software\Varnolis'
  local win_program="$WINEPREFIX/drive_c/Programme/Büro Software/Varnolis"
  local linux_program="$WORK/values-linux/Varnolis"
  rm -rf "$win_program" "$WORK/values-linux"
  mkdir -p "$win_program" "$linux_program"
  cp -r "$PROGRAM/." "$win_program/"
  cp -r "$LINUX_DIR/." "$linux_program/"
  rm -f "$win_program/debug.log" "$linux_program/debug.log"

  local folder
  for folder in "$win_program" "$linux_program"; do
    sqlite3 "$folder/databases/values.db" "
      CREATE TABLE werte (nr INTEGER, wert TEXT);
      INSERT INTO werte VALUES (1, '<script>'), (2, '\"><img src=x onerror=alert(1)>'),
        (3, '&amp;'), (4, 'O''Neil'), (5, '%s'), (6, 'Müller € ß');
      CREATE TABLE kunden (nr TEXT, name TEXT);
      INSERT INTO kunden VALUES ('K1', 'Meier'), ('K2', 'O''Neil & Co');"
    sqlite3 "$folder/databases/config.mdb" "
      INSERT INTO Rubriken (Rang, Rubrik, Menuetext, Titel, Bemerkung) VALUES (99, 'Werte',
        '<b>Werte</b> {!kontakt, 57} / {!brimlow, nummer}', 'Titel {!kontakt, 58}',
        '<i>{!kontakt, 59}</i>');
      INSERT INTO Daten (Titel, Format_ID, Datenquelle, Abfrage) VALUES ('Kunde', 2,
        'Provider=SQLite;Data Source=databases/values.db',
        'SELECT name AS Name, ''<a href=\"k.htm?nr='' || nr || ''\">'' || nr || ''</a>'' AS html_Link
         FROM kunden WHERE name = ''{!kontakt, 25}''');
      INSERT INTO Zuordnungen (Rubrik_ID, Daten_ID, Rang) VALUES
        ((SELECT ID_Rubrik FROM Rubriken WHERE Rubrik = 'Werte'), last_insert_rowid(), 1);
      INSERT INTO Daten (Titel, Format_ID, Datenquelle, Abfrage) VALUES ('Werte', 2,
        'Provider=SQLite;Data Source=databases/values.db',
        'SELECT (SELECT wert FROM werte WHERE nr = 1) AS A, (SELECT wert FROM werte WHERE nr = 2)
         AS B, (SELECT wert FROM werte WHERE nr = 3) AS C, (SELECT wert FROM werte WHERE nr = 4)
         AS D, (SELECT wert FROM werte WHERE nr = 5) AS E, (SELECT wert FROM werte WHERE nr = 6)
         AS F');
      INSERT INTO Zuordnungen (Rubrik_ID, Daten_ID, Rang) VALUES
        ((SELECT ID_Rubrik FROM Rubriken WHERE Rubrik = 'Werte'), last_insert_rowid(), 2);
      INSERT INTO Daten (Titel, Format_ID, Datenquelle, Abfrage) VALUES ('Tabelle', 1,
        'Provider=SQLite;Data Source=databases/values.db',
        'SHAPE {SELECT 1 AS hide_K, wert AS Wert FROM werte WHERE nr = 1} APPEND ({SELECT 1 AS
         hide_K, wert AS Wert FROM werte ORDER BY nr} RELATE hide_K TO hide_K) AS Kinder');
      INSERT INTO Zuordnungen (Rubrik_ID, Daten_ID, Rang) VALUES
        ((SELECT ID_Rubrik FROM Rubriken WHERE Rubrik = 'Werte'), last_insert_rowid(), 3);"
    printf '[Brimlow]\r\nID_Nummer=57|Kundennummer\r\n' >"$folder/Brimlow.ini"
  done

  cat >"$ACT_STATE" <<'EOF'
{"windows": [{"class": "act3.0frameclass", "title": "ACT! - Werte", "visible": true}],
 "database": "Werte.dbf", "activeView": 1,
 "contact": {"25": "O'Neil & Co", "57": "O'Neil <b>bold</b> & Co",
             "58": "\"><img src=x onerror=alert(1)>", "59": "100%s Müller € ß"}}
EOF
  act --reload || fail "test_act.exe --reload (values as text)"
  # Wine names files in the Unix locale's character set; a locale that the machine lacks (as
  # de_DE.UTF-8 may be) leaves it ASCII, and no program would find the folder. The page holds
  # neither messages nor numbers, so it is the same in every locale that names it.
  local locale=C.UTF-8
  if (cd "$win_program" && LC_ALL=$locale "$WINE" varnolis.exe register >/dev/null); then
    pass "registered from $win_dir"
  else fail "varnolis.exe register in $win_dir"; fi

  # The Linux page with the Windows folder's paths, in the page's code page.
  local win_dir_page
  win_dir_page=$(printf '%s' "$win_dir" | iconv -f UTF-8 -t CP1252)
  (LINUX_DIR=$linux_program WIN_DIR=$win_dir_page linux_page "$locale" varnolis://rubrik/Werte) \
    >"$WORK/values.linux.html"
  windows_page "$locale" varnolis://rubrik/Werte >"$WORK/values.windows.html" ||
    fail "hostile values: urlmon fetched no page from $win_dir"
  if cmp -s "$WORK/values.linux.html" "$WORK/values.windows.html"; then
    pass "hostile values: the page from $win_dir equals the Linux page"
  else fail "hostile values: the page differs from the Linux page ($WORK/values.*.html)"; fi
  local expected
  for expected in '<b>Werte</b> O&#39;Neil &lt;b&gt;bold&lt;/b&gt; &amp; Co / O&#39;Neil &lt;b&gt;' \
    'Titel &quot;&gt;&lt;img src=x onerror=alert(1)&gt;<BR>' \
    'CLASS="htmllistvalue">O&#39;Neil &amp; Co</TD>' \
    'CLASS="htmllistvalue"><a href="k.htm?nr=K2">K2</a></TD>' \
    'CLASS="htmllistvalue">&quot;&gt;&lt;img src=x onerror=alert(1)&gt;</TD>' \
    'CLASS="htmllistvalue">&amp;amp;</TD>' \
    '<TD  CLASS="t0" ALIGN="left">&lt;script&gt;</TD>' \
    '<TD  CLASS="t1" ALIGN="left">O&#39;Neil</TD>' \
    '<TD  CLASS="t1" ALIGN="left">%s</TD>'; do
    grep -aqF "$expected" "$WORK/values.windows.html" ||
      fail "hostile values: the Windows page lacks $expected"
  done
  # The upper half of Windows-1252, in its own bytes.
  grep -aqF "$(printf '<i>100%%s M\374ller \200 \337</i>')" "$WORK/values.windows.html" ||
    fail "hostile values: the remark is not in Windows-1252"
  if grep -aq 'errortitle' "$WORK/values.windows.html"; then
    fail "hostile values: the page holds an error block (164: Brimlow.ini not found?)"
  else pass "{!brimlow, nummer} finds Brimlow.ini in $win_dir"; fi

  in_program "$WINE" varnolis.exe register >/dev/null || fail "varnolis.exe register (again)"
  # Back to the German regional settings, which Wine replaced when the locale changed.
  wine_de regedit /S "$(windows_path "$WORK/de_DE.reg")" >/dev/null 2>&1
  set_state ''
}

values_as_text
