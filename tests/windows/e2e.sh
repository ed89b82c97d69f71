#!/usr/bin/env bash
# End-to-end checks of the Windows program folder under Wine, the way the browser inside the
# contact manager uses it: self-registration with regsvr32, the scheme registered by the host,
# pages fetched through urlmon by a program that knows nothing of Varnolis, compared byte for
# byte with the Linux build's pages; the info page's class created by its ProgID as a script
# creates it.
#
#   bash tests/windows/e2e.sh LINUX_BUILD WINDOWS_BUILD
#
# LINUX_BUILD and WINDOWS_BUILD are build folders (with Varnolis/ inside; the Windows one also
# with tests/windows/urlmon_client.exe and info_client.exe). Works in WINDOWS_BUILD/e2e, in a
# fresh prefix of the build's kind (32-bit, or 64-bit for the 64-bit build).
set -euo pipefail

if [ $# -ne 2 ]; then
  echo "usage: bash tests/windows/e2e.sh LINUX_BUILD WINDOWS_BUILD" >&2
  exit 1
fi
LINUX_DIR=$(cd "$1/Varnolis" && pwd)
WIN_BUILD=$(cd "$2" && pwd)
CLIENT_EXE=$WIN_BUILD/tests/windows/urlmon_client.exe
INFO_CLIENT_EXE=$WIN_BUILD/tests/windows/info_client.exe
TEST_ACT_EXE=$WIN_BUILD/tests/windows/test_act/test_act.exe
WORKING_DAY_EXE=$WIN_BUILD/tests/windows/working_day.exe
for f in "$LINUX_DIR/varnolis" "$LINUX_DIR/libvarnolis.so" "$WIN_BUILD/Varnolis/varnolis.dll" \
  "$WIN_BUILD/Varnolis/varnolis.exe" "$CLIENT_EXE" "$INFO_CLIENT_EXE" "$TEST_ACT_EXE" \
  "$WORKING_DAY_EXE"; do
  [ -f "$f" ] || { echo "e2e: $f is missing (build both folders first)" >&2; exit 1; }
done

SOURCE=$(cd "$(dirname "$0")/../.." && pwd)
# The type library's version: major.minor of the top CMakeLists.txt.
TLB_VERSION=$(sed -n 's/^set(VARNOLIS_VERSION_MAJOR \([0-9]*\))/\1/p' "$SOURCE/CMakeLists.txt").$(
  sed -n 's/^set(VARNOLIS_VERSION_MINOR \([0-9]*\))/\1/p' "$SOURCE/CMakeLists.txt")
WORK=$WIN_BUILD/e2e
export WINEPREFIX=$WORK/prefix WINEDEBUG=-all
CLASS='{D6D45BE4-EDD5-4F6E-8F18-330C577EE7E8}'
LIBID='{2268AD97-008F-4EBE-B25D-1A0A88E43C89}'
INFO_CLASS='{080F83F0-BCEE-4DF3-A976-F355554DC660}'
WIN_DIR='C:\Program Files\Varnolis'
PROGRAM=$WINEPREFIX/drive_c/Program\ Files/Varnolis
START=$SECONDS

# shellcheck source=tests/windows/wine_checks.sh
source "$SOURCE/tests/windows/wine_checks.sh"
wine_of_build "$WIN_BUILD"

# ---- the DLL itself ------------------------------------------------------------------------
DLL=$WIN_BUILD/Varnolis/varnolis.dll
PE_KIND='PE32 executable (DLL)'
[ "$WINEARCH" = win64 ] && PE_KIND='PE32+ executable (DLL)'
if file "$DLL" | grep -q "$PE_KIND"; then pass "varnolis.dll is a $PE_KIND"; else
  fail "varnolis.dll is not a $PE_KIND: $(file -b "$DLL")"; fi
exports=$("$OBJDUMP" -p "$DLL" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' |
  sed -n 's/^\s*\[ *[0-9]*\] //p' | sort | tr '\n' ' ')
if [ "$exports" = "DllCanUnloadNow DllGetClassObject DllRegisterServer DllUnregisterServer " ]; then
  pass "exactly the four entry points are exported"
else fail "exports: $exports"; fi
runtime=$("$OBJDUMP" -p "$DLL" "$WIN_BUILD/Varnolis/varnolis.exe" |
  sed -n 's/^\s*DLL Name: //p' | grep -i '^lib' || true)
if [ -z "$runtime" ]; then pass "no runtime DLL needed"; else fail "needs $runtime"; fi

# ---- a fresh prefix ----------------------------------------------------------------------
rm -rf "$WORK"
fresh_prefix
mkdir -p "$PROGRAM"
cp -r "$WIN_BUILD/Varnolis/." "$PROGRAM/"
rm -f "$PROGRAM/debug.log"
cp "$CLIENT_EXE" "$WORK/urlmon_client.exe"
cp "$INFO_CLIENT_EXE" "$WORK/info_client.exe"
cp "$TEST_ACT_EXE" "$WORK/test_act.exe"
cp "$WORKING_DAY_EXE" "$WORK/working_day.exe"
echo "prefix ready after $((SECONDS - START)) s"

in_program() { (cd "$PROGRAM" && "$@"); }

# ---- self-registration ---------------------------------------------------------------------
export_classes "$WORK/before.reg"
if in_program "$WINE" regsvr32 /s varnolis.dll; then pass "regsvr32 /s"; else fail "regsvr32 /s"; fi
expect_value "HKCR\\CLSID\\$CLASS\\InprocServer32" "" "$WIN_DIR\\varnolis.dll"
expect_value "HKCR\\CLSID\\$CLASS\\InprocServer32" ThreadingModel Apartment
expect_value "HKCR\\CLSID\\$CLASS\\ProgID" "" Varnolis.ProtocolHandler
expect_value 'HKCR\Varnolis.ProtocolHandler\CLSID' "" "$CLASS"
expect_value "HKCR\\TypeLib\\$LIBID\\$TLB_VERSION" "" "Pluggable Protocol Handler von Varnolis"
expect_value "HKCR\\TypeLib\\$LIBID\\$TLB_VERSION\\0\\$WINEARCH" "" "$WIN_DIR\\varnolis.dll"
# The info page's class, as a script creates it.
expect_value "HKCR\\CLSID\\$INFO_CLASS\\InprocServer32" "" "$WIN_DIR\\varnolis.dll"
expect_value "HKCR\\CLSID\\$INFO_CLASS\\InprocServer32" ThreadingModel Apartment
expect_value "HKCR\\CLSID\\$INFO_CLASS\\ProgID" "" Varnolis.clHTMLInfo
expect_value 'HKCR\Varnolis.clHTMLInfo\CLSID' "" "$INFO_CLASS"
info_client() { (cd "$WORK" && "$WINE" info_client.exe Varnolis.clHTMLInfo 2>&1 | tr -d '\r'); }
info=$(info_client || true)
if [ "$(printf '%s\n' "$info" | sed -n '1,2p;5p' | sed 's/^GetNext 3 .* Ready/Ready/' | tr '\n' ' ')" = \
  "Init true ErrNumber 100 Ready true " ]; then
  pass "Varnolis.clHTMLInfo by CLSIDFromProgID + CoCreateInstance: Init(\"\") true, ErrNumber 100"
else fail "Varnolis.clHTMLInfo: $info"; fi
if in_program "$WINE" regsvr32 /u /s varnolis.dll; then pass "regsvr32 /u /s"; else
  fail "regsvr32 /u /s"; fi
export_classes "$WORK/after.reg"
if cmp -s "$WORK/before.reg" "$WORK/after.reg"; then pass "unregistration leaves HKCR as before"
else fail "HKCR differs after unregistration: see $WORK/before.reg and after.reg"; fi
if key_exists "HKCR\\CLSID\\$INFO_CLASS" || key_exists 'HKCR\Varnolis.clHTMLInfo'; then
  fail "a key of Varnolis.clHTMLInfo is left after unregistration"
else pass "no key of Varnolis.clHTMLInfo is left"; fi
info=$(info_client || true)
if grep -q '^info_client: 429 ' <<<"$info"; then
  pass "unregistered, Varnolis.clHTMLInfo cannot be created (429)"
else fail "unregistered, Varnolis.clHTMLInfo: $info"; fi

in_program "$WINE" regsvr32 /s varnolis.dll || fail "regsvr32 /s (again)"
if in_program "$WINE" varnolis.exe register >/dev/null; then pass "varnolis.exe register"; else
  fail "varnolis.exe register"; fi
expect_value 'HKCR\PROTOCOLS\Handler\varnolis' CLSID "$CLASS"

# ---- pages through urlmon, against the Linux pages ----------------------------------------
# The ACT! state of both sides: absent until the test ACT! runs.
ACT_STATE=$WORK/act.json
URLS=(varnolis://test varnolis://info varnolis://gibtsnicht varnolis://rubrik/Start
  varnolis://rubrik/Rechnungen varnolis://rubrik/Offene_Posten varnolis://rubrik/Info
  varnolis://rubrik/Notizen)
for locale in de_DE.UTF-8 en_US.UTF-8; do
  for url in "${URLS[@]}"; do
    name=$(printf '%s' "${locale%%.*}-${url#varnolis://}" | tr '/' '_')
    linux_page "$locale" "$url" >"$WORK/$name.linux.html"
    windows_page "$locale" "$url" >"$WORK/$name.windows.html"
    if cmp -s "$WORK/$name.linux.html" "$WORK/$name.windows.html"; then
      pass "$locale $url equals the Linux page"
    else
      fail "$locale $url differs from the Linux page ($WORK/$name.*.html)"
    fi
  done
done
grep -aq '<TD  CLASS="errortext">153</TD>' "$WORK/de_DE-gibtsnicht.windows.html" ||
  fail "the unknown command shows no message 153"
grep -aq '<TD  CLASS="errortext">122</TD>' "$WORK/de_DE-rubrik_Start.windows.html" ||
  fail "the start rubric shows no message 122 (ACT! not running)"
grep -aq 'Testbefehl von Varnolis' "$WORK/en_US-test.windows.html" || fail "no test line"
# Each locale in its own language, on both sides.
grep -aq 'Der Zugriff auf die ACT!-Daten' "$WORK/de_DE-rubrik_Start.windows.html" ||
  fail "de_DE: message 122 is not German"
grep -aq "Can't access ACT! data" "$WORK/en_US-rubrik_Start.windows.html" ||
  fail "en_US: message 122 is not English"

# The host fetches through urlmon as well.
if in_program "$WINE" varnolis.exe get -o 'C:\host-test.html' varnolis://test &&
  perl -0777 -pe "$perl_trim" "$WINEPREFIX/drive_c/host-test.html" |
  cmp -s - <(windows_page de_DE.UTF-8 varnolis://test); then
  pass "varnolis.exe get delivers the page through urlmon"
else fail "varnolis.exe get"; fi

# ---- failures ------------------------------------------------------------------------------
temp_files() { find "$WINEPREFIX/drive_c" -name '~HT*.tmp' | wc -l; }

# A standard user switches the debug log on but cannot write the program folder (debug.log is
# a folder there): the pages are those with the log off, the lines go to %LOCALAPPDATA%.
"$WINE" reg add 'HKCU\Software\VB and VBA Program Settings\Varnolis\Optionen' /v Debug \
  /d 1 /f >/dev/null
mkdir "$PROGRAM/debug.log"
for url in varnolis://test varnolis://info; do
  windows_page de_DE.UTF-8 "$url" >"$WORK/debuglog-${url#varnolis://}.windows.html"
done
rmdir "$PROGRAM/debug.log"
"$WINE" reg delete 'HKCU\Software\VB and VBA Program Settings\Varnolis' /f >/dev/null
if cmp -s "$WORK/debuglog-test.windows.html" "$WORK/de_DE-test.windows.html" &&
  cmp -s "$WORK/debuglog-info.windows.html" "$WORK/de_DE-info.windows.html"; then
  pass "an unwritable debug log leaves the pages as with the log off"
else fail "an unwritable debug log changes the pages ($WORK/debuglog-*.windows.html)"; fi
own_log=$(find "$WINEPREFIX/drive_c/users" -path '*/AppData/Local/Varnolis/debug.log' | head -n 1)
if [ -n "$own_log" ] && grep -aq ': Kommando:test' "$own_log" &&
  grep -aq ': Kommando:info' "$own_log"; then
  pass "the log lines are in ${own_log#"$WINEPREFIX/"}"
else fail "no log lines in %LOCALAPPDATA%\\Varnolis\\debug.log"; fi

# No temporary folder: Start fails with INET_E_DOWNLOAD_FAILURE and nothing is left.
set +e
(cd "$WORK" && "$WINE" urlmon_client.exe --temp 'C:\fehlt' varnolis://test) \
  >"$WORK/notemp.html" 2>"$WORK/notemp.err"
status=$?
set -e
if [ "$status" = 2 ] && grep -q 'URLOpenStreamW 0x800C0008' "$WORK/notemp.err" &&
  [ ! -s "$WORK/notemp.html" ] && [ ! -e "$WINEPREFIX/drive_c/fehlt" ]; then
  pass "a missing %TEMP% fails with INET_E_DOWNLOAD_FAILURE"
else fail "a missing %TEMP%: status $status, $(cat "$WORK/notemp.err")"; fi

# 1000 requests in one process: no page file left, no handle more than after the first.
count_start=$SECONDS
(cd "$WORK" && LC_ALL=de_DE.UTF-8 "$WINE" urlmon_client.exe --count 1000 varnolis://rubrik/Start) \
  >/dev/null 2>"$WORK/handles.txt"
read -r _ first last < <(tr -d '\r' <"$WORK/handles.txt")
if [ "$first" -gt 0 ] && [ "$last" -le "$first" ]; then
  pass "1000 requests: $first handles after the first, $last after the last ($((SECONDS - count_start)) s)"
else fail "1000 requests: handles $first -> $last"; fi
left=$(temp_files)
if [ "$left" = 0 ]; then pass "no ~HT*.tmp left in the prefix"; else fail "$left ~HT*.tmp left"; fi

# ---- ACT! running: the test ACT! on the demo state -----------------------------------------
# The same state for the Linux stand-in and the test ACT!, which serves "ACTOLE.APPOBJECT" out of
# process (registered for this user only) and shows the state's windows.
RUBRICS=(varnolis://rubrik/Start varnolis://rubrik/Rechnungen varnolis://rubrik/Offene_Posten
  varnolis://rubrik/Info varnolis://rubrik/Notizen)
wine_de() { LC_ALL=de_DE.UTF-8 "$WINE" "$@"; }
act() { (cd "$WORK" && wine_de test_act.exe "$@"); }
TEST_ACT_PID=
start_act() {
  (cd "$WORK" && LC_ALL=de_DE.UTF-8 exec "$WINE" test_act.exe "$(windows_path "$ACT_STATE")") \
    >"$WORK/test_act.log" 2>&1 &
  TEST_ACT_PID=$!
  for _ in $(seq 100); do act --count >/dev/null 2>&1 && return 0; sleep 0.3; done
  return 1
}
stop_act() {
  act --quit >/dev/null 2>&1 || true
  if [ -n "$TEST_ACT_PID" ]; then wait "$TEST_ACT_PID" 2>/dev/null || true; fi
  TEST_ACT_PID=
}
trap 'stop_act; wineserver -k 2>/dev/null || true' EXIT
live_count() { act --count 2>/dev/null | tr -d '\r'; }
compare() {  # NAME URL: the Windows page equals the Linux page for the same state
  linux_page de_DE.UTF-8 "$2" >"$WORK/$1.linux.html"
  windows_page de_DE.UTF-8 "$2" >"$WORK/$1.windows.html"
  if cmp -s "$WORK/$1.linux.html" "$WORK/$1.windows.html"; then
    pass "$1: $2 equals the Linux page"
  else
    fail "$1: $2 differs from the Linux page ($WORK/$1.*.html)"
  fi
}
set_state() {  # PERL-SUBSTITUTION: the demo state changed, and the test ACT! following it
  perl -0777 -pe "$1" "$PROGRAM/databases/demo-act.json" >"$ACT_STATE"
  [ -z "$TEST_ACT_PID" ] || act --reload || fail "test_act.exe --reload"
}
expect_message() {  # NAME NUMBER WHAT
  grep -aq "<TD  CLASS=\"errortext\">$2</TD>" "$WORK/$1.windows.html" || fail "$3: no message $2"
}
expect_nothing_served() {  # WHAT
  local count
  count=$(live_count)
  if [ "$count" = 0 ]; then pass "no ACT! object outlives $1"; else
    fail "the test ACT! still serves $count object(s) after $1"; fi
}

if act --register; then pass "test_act.exe --register"; else fail "test_act.exe --register"; fi
set_state ''
if start_act; then pass "the test ACT! runs on the demo state"; else
  fail "the test ACT! does not start: $(cat "$WORK/test_act.log")"; fi
# The pages hold dates and numbers: the prefix gets the regional settings of a German Windows,
# as the suites' prefix has them (Wine's own data for de-DE differ, e.g. d.M.yyyy for the short
# date where Windows has dd.MM.yyyy). Wine puts its own values back whenever a program starts
# under another locale than the last one, so every program from here on runs under de_DE; and
# only now that the test ACT! runs: the services COM starts for it run under the locale of the
# prefix's first program.
iconv -f UTF-8 -t CP1252 "$SOURCE/tests/windows/regional/de_DE.reg" >"$WORK/de_DE.reg"
wine_de regedit /S "$(windows_path "$WORK/de_DE.reg")" >/dev/null 2>&1
for url in "${RUBRICS[@]}"; do
  compare "act-$(printf '%s' "${url#varnolis://}" | tr '/' '_')" "$url"
done
grep -aq 'K10001\|Müller' "$WORK/act-rubrik_Start.windows.html" ||
  fail "the start rubric shows nothing of the current contact"
expect_nothing_served "the requests"

# A working day in one process, from four apartments, with the test ACT! running: the test and
# info pages, an unknown command and every demo rubric in turn, each page against the Linux page;
# the process's handles, GDI objects, private bytes and threads after the first 100 requests and
# after the last. WORKING_DAY_REQUESTS sets the length (400 here, 10 000 for a whole day).
DAY_URLS=(varnolis://test varnolis://info varnolis://gibtsnicht "${RUBRICS[@]}")
DAY_PAGES=(de_DE-test de_DE-info de_DE-gibtsnicht act-rubrik_Start act-rubrik_Rechnungen
  act-rubrik_Offene_Posten act-rubrik_Info act-rubrik_Notizen)
DAY_REQUESTS=${WORKING_DAY_REQUESTS:-400}
mkdir -p "$WORK/day"
for k in "${!DAY_PAGES[@]}"; do cp "$WORK/${DAY_PAGES[$k]}.linux.html" "$WORK/day/$k.html"; done
# Half a second a request at the least, and never less than half an hour: a long day on a loaded
# machine must not end as a failure for its length alone.
DAY_LIMIT=$((DAY_REQUESTS / 2 > 1800 ? DAY_REQUESTS / 2 : 1800))
day_start=$SECONDS
act --calls >/dev/null || fail "test_act.exe --calls"
if (cd "$WORK" && LC_ALL=de_DE.UTF-8 timeout "$DAY_LIMIT" "$WINE" working_day.exe \
  --requests "$DAY_REQUESTS" "$(windows_path "$WORK/day")" "${DAY_URLS[@]}") >"$WORK/day.txt" 2>&1
then
  pass "a working day of $DAY_REQUESTS requests from 4 apartments ($((SECONDS - day_start)) s):" \
    "every page equals the Linux page, no counter grew"
else fail "the working day ($WORK/day.txt, pages that differ in $WORK/day)"; fi
tr -d '\r' <"$WORK/day.txt" | sed 's/^/    /'
echo "    ACT! calls served in the day: $(act --calls | tr -d '\r')"
left=$(temp_files)
if [ "$left" = 0 ]; then pass "no ~HT*.tmp left after the working day"; else
  fail "$left ~HT*.tmp left after the working day"; fi
expect_nothing_served "the working day"

# The user changes the decimal sign between two requests of one process: the second page
# shows the new sign.
if (cd "$WORK" && wine_de working_day.exe decimal '#' varnolis://rubrik/Offene_Posten \
  "$(windows_path "$WORK/decimal-1.html")" "$(windows_path "$WORK/decimal-2.html")"); then
  before=$(grep -ao '[0-9],[0-9][0-9]<' "$WORK/decimal-1.html" | wc -l)
  after=$(grep -ao '[0-9]#[0-9][0-9]<' "$WORK/decimal-2.html" | wc -l)
  if cmp -s "$WORK/decimal-1.html" "$WORK/act-rubrik_Offene_Posten.windows.html" &&
    [ "$before" -gt 0 ] && [ "$after" = "$before" ] &&
    ! grep -aq '[0-9],[0-9][0-9]<' "$WORK/decimal-2.html"; then
    pass "a changed decimal sign shows in the next page of the same process ($after amounts)"
  else fail "the decimal sign: $before amounts before, $after after ($WORK/decimal-*.html)"; fi
else fail "working_day.exe decimal"; fi

# A building step that fails inside Read (a date pattern on a number beyond every date): the
# page reaches the browser with its 199 block, not as an empty page.
cp "$PROGRAM/databases/config.mdb" "$WORK/config.mdb.saved"
sqlite3 "$PROGRAM/databases/config.mdb" "
  INSERT INTO Rubriken (Rang, Rubrik, Menuetext, Titel, Bemerkung)
    VALUES (99, 'Kaputt', 'Kaputt', 'Kaputt', '');
  INSERT INTO Daten (Titel, Format_ID, Datenquelle, Abfrage)
    VALUES ('Termine', 0, 'Provider=SQLite;Data Source=databases/demo.db',
            'SELECT 1e300 AS [formatdd*mm*yyyy_Tag]');
  INSERT INTO Zuordnungen (Rubrik_ID, Daten_ID, Rang)
    VALUES ((SELECT ID_Rubrik FROM Rubriken WHERE Rubrik = 'Kaputt'), last_insert_rowid(), 1);"
windows_page de_DE.UTF-8 varnolis://rubrik/Kaputt >"$WORK/readfailure.windows.html"
cp "$WORK/config.mdb.saved" "$PROGRAM/databases/config.mdb"
if grep -aq '<TD  CLASS="errortext">199</TD><TD  CLASS="errortext">Programmfehler in \[clProtocolHandler\]\.\[IInternetProtocol_Read\]' \
  "$WORK/readfailure.windows.html" && grep -aq '</HTML>' "$WORK/readfailure.windows.html"; then
  pass "a failure inside Read shows its 199 block through urlmon"
else fail "a failure inside Read: no 199 block ($WORK/readfailure.windows.html)"; fi

# Hostile values, from a program folder whose name has an umlaut.
# shellcheck source=tests/windows/values_as_text.sh
source "$SOURCE/tests/windows/values_as_text.sh"

# Group view: a contact command is in the wrong view (message 124).
set_state 's/"activeView": 1/"activeView": 3/'
compare act-groupview varnolis://rubrik/Start
expect_message act-groupview 124 "group view"

# GetOpenDBName failing with the server fault: silently no database (message 123) on both sides.
set_state 's/"activeView": 1,/"activeView": 1, "fail": {"GetOpenDBName": -2147417851},/'
compare act-faildb varnolis://rubrik/Start
expect_message act-faildb 123 "GetOpenDBName failing"
expect_nothing_served "a request without a database"
# With another error the warning is a message box inside the browser; the host writes it on
# standard error instead, as on Linux, and prints what the parser made of the command.
set_state 's/"activeView": 1,/"activeView": 1, "fail": {"GetOpenDBName": {"number": 7, "description": "kaputt"}},/'
linux_parse=$(env -i PATH="$PATH" HOME="$WORK/linux-home" XDG_CONFIG_HOME="$WORK/linux-home" \
  LC_ALL=de_DE.UTF-8 VARNOLIS_ACT="$ACT_STATE" "$LINUX_DIR/varnolis" parse '{!kontakt, 25}' 2>&1;
  echo "status $?")
windows_parse=$(in_program wine_de varnolis.exe parse '{!kontakt, 25}' 2>&1; echo "status $?")
if [ "$linux_parse" = "$windows_parse" ]; then
  pass "varnolis.exe parse with GetOpenDBName failing prints what Linux prints"
else fail "varnolis.exe parse: '$windows_parse', Linux: '$linux_parse'"; fi

# ACT! ended (on Linux: no state file): message 122 again.
stop_act
# The same working day without ACT!, for its pages per second only (the rubric pages show 122).
(cd "$WORK" && LC_ALL=de_DE.UTF-8 timeout "$DAY_LIMIT" "$WINE" working_day.exe \
  --requests "$DAY_REQUESTS" "$(windows_path "$WORK/day")" "${DAY_URLS[@]}") 2>&1 |
  tr -d '\r' | sed -n 's/^\(requests .* per second\)$/    without ACT!: \1/p' || true
rm -f "$WORK"/day/*.differs.html
rm -f "$ACT_STATE"
compare act-stopped varnolis://rubrik/Start
expect_message act-stopped 122 "ACT! stopped"
if act --unregister; then pass "test_act.exe --unregister"; else fail "test_act.exe --unregister"; fi

# ---- unregistration --------------------------------------------------------------------------
if in_program "$WINE" varnolis.exe unregister >/dev/null; then pass "varnolis.exe unregister"; else
  fail "varnolis.exe unregister"; fi
export_classes "$WORK/final.reg"
if cmp -s "$WORK/before.reg" "$WORK/final.reg"; then
  pass "unregister removes the scheme and the class again"
else fail "HKCR differs after varnolis.exe unregister: see $WORK/final.reg"; fi
# A second unregistration (an uninstaller that runs twice, a repair) is harmless.
if in_program "$WINE" regsvr32 /u /s varnolis.dll; then
  pass "regsvr32 /u /s after varnolis.exe unregister exits 0"
else fail "regsvr32 /u /s after varnolis.exe unregister: status $?"; fi
if in_program "$WINE" varnolis.exe unregister >/dev/null; then
  pass "varnolis.exe unregister once more exits 0"
else fail "varnolis.exe unregister once more: status $?"; fi
export_classes "$WORK/twice.reg"
if cmp -s "$WORK/before.reg" "$WORK/twice.reg"; then
  pass "unregistering twice leaves HKCR as before the registration"
else fail "HKCR differs after unregistering twice: see $WORK/twice.reg"; fi

echo "e2e: $failures failure(s) in $((SECONDS - START)) s"
[ "$failures" = 0 ]
