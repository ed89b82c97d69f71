#!/usr/bin/env bash
# Checks of the Windows installer under Wine, the way an administrator uses it: a silent
# install into a folder with blanks, a page fetched through urlmon by a program that knows
# nothing of Varnolis, the entry in the list of installed programs and the configuration
# program's Start-menu entry, an update over a changed configuration, silent uninstalls (the
# configuration kept, then removed on request), and the registry of classes left exactly as it
# was before.
#
#   bash tests/windows/installer.sh LINUX_BUILD WINDOWS_BUILD
#
# LINUX_BUILD and WINDOWS_BUILD are build folders; the Windows one with the installer
# (target `installer`) and tests/windows/urlmon_client.exe. Works in WINDOWS_BUILD/installer-test,
# in a fresh prefix of the build's kind (32-bit, or 64-bit with the 64-bit build's installer).
set -euo pipefail

if [ $# -ne 2 ]; then
  echo "usage: bash tests/windows/installer.sh LINUX_BUILD WINDOWS_BUILD" >&2
  exit 1
fi
LINUX_DIR=$(cd "$1/Varnolis" && pwd)
WIN_BUILD=$(cd "$2" && pwd)
SOURCE=$(cd "$(dirname "$0")/../.." && pwd)
version_part() { sed -n "s/^set(VARNOLIS_$1 \"\{0,1\}\([^\")]*\)\"\{0,1\})/\1/p" "$SOURCE/CMakeLists.txt"; }
VERSION=$(version_part VERSION_MAJOR).$(version_part VERSION_MINOR).$(version_part VERSION_REVISION)
PUBLISHER=$(version_part COMPANY)
SETUP_EXE=$WIN_BUILD/Varnolis-Setup-$VERSION.exe
CLIENT_EXE=$WIN_BUILD/tests/windows/urlmon_client.exe
DRIVER_EXE=$WIN_BUILD/tests/windows/konfiguration_driver.exe
TEST_ACT_EXE=$WIN_BUILD/tests/windows/test_act/test_act.exe
for f in "$LINUX_DIR/varnolis" "$LINUX_DIR/libvarnolis.so" "$SETUP_EXE" "$CLIENT_EXE" \
  "$DRIVER_EXE" "$TEST_ACT_EXE" "$WIN_BUILD/Varnolis/databases/config.mdb"; do
  [ -f "$f" ] || {
    echo "installer: $f is missing (build both folders and the target installer first)" >&2
    exit 1
  }
done

WORK=$WIN_BUILD/installer-test
export WINEPREFIX=$WORK/prefix WINEDEBUG=-all
# Wine would mirror the Start-menu entry into this machine's desktop menus (~/.local/share).
export WINEDLLOVERRIDES=winemenubuilder.exe=d
CLASS='{D6D45BE4-EDD5-4F6E-8F18-330C577EE7E8}'
LIBID='{2268AD97-008F-4EBE-B25D-1A0A88E43C89}'
INFO_CLASS='{080F83F0-BCEE-4DF3-A976-F355554DC660}'
UNINSTALL_KEY='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Varnolis'
# A folder other than the default, with blanks in both names.
WIN_DIR='C:\Programme mit Blanks\Varnolis Test'
PROGRAM="$WINEPREFIX/drive_c/Programme mit Blanks/Varnolis Test"
START=$SECONDS
# shellcheck source=tests/windows/wine_checks.sh
source "$SOURCE/tests/windows/wine_checks.sh"
wine_of_build "$WIN_BUILD"

# ---- a fresh prefix ----------------------------------------------------------------------
rm -rf "$WORK"
fresh_prefix
cp "$SETUP_EXE" "$WORK/setup.exe"
cp "$CLIENT_EXE" "$WORK/urlmon_client.exe"
cp "$DRIVER_EXE" "$WORK/konfiguration_driver.exe"
cp "$TEST_ACT_EXE" "$WORK/test_act.exe"
echo "prefix ready after $((SECONDS - START)) s"

# NSIS takes /D= and _?= only as the last, unquoted part of its command line, blanks and all.
# Wine quotes an argument that holds a blank, so the path goes as separate words, which Wine
# joins with single blanks again.
run_unquoted() {  # PROGRAM ARGUMENTS... LAST-WITH-BLANKS
  local words=("${@:1:$#-1}") last=${*: -1}
  local split
  read -r -a split <<<"$last"
  "$WINE" "${words[@]}" "${split[@]}"
}
install() { (cd "$WORK" && run_unquoted setup.exe /S "/D=$WIN_DIR"); }
installed_files() { (cd "$PROGRAM" 2>/dev/null && find . -type f | sed 's|^\./||' | sort | tr '\n' ' '); }
# The configuration program's Start-menu entry, wherever the prefix keeps the all-users menu.
start_menu_entry() { find "$WINEPREFIX/drive_c" -iname 'Varnolis Konfiguration.lnk' 2>/dev/null; }
# Built into the program folder by the Windows front; the installer gives it the entry.
KONFIGURATION=no
[ -f "$WIN_BUILD/Varnolis/varnolis-konfiguration.exe" ] && KONFIGURATION=yes
expect_start_menu_entry() {  # WHEN
  local entry
  entry=$(start_menu_entry)
  if [ "$KONFIGURATION" = no ]; then
    if [ -z "$entry" ]; then pass "$1: no Start-menu entry without the configuration program"; else
      fail "$1: a Start-menu entry without the configuration program: $entry"; fi
  elif [ -n "$entry" ]; then pass "$1: Start-menu entry \"Varnolis Konfiguration\""; else
    fail "$1: no Start-menu entry \"Varnolis Konfiguration\""; fi
}
expect_no_start_menu_entry() {  # WHEN
  local entry
  entry=$(start_menu_entry)
  if [ -z "$entry" ]; then pass "$1: no Start-menu entry is left"; else
    fail "$1: the Start-menu entry is left: $entry"; fi
}

expect_pages() {  # WHEN URL...
  local when=$1 url name
  shift
  for url in "$@"; do
    name=$(printf '%s' "$when-${url#varnolis://}" | tr '/ ' '__')
    linux_page de_DE.UTF-8 "$url" >"$WORK/$name.linux.html"
    windows_page de_DE.UTF-8 "$url" >"$WORK/$name.windows.html" 2>"$WORK/$name.err" || true
    if [ -s "$WORK/$name.windows.html" ] && cmp -s "$WORK/$name.linux.html" "$WORK/$name.windows.html"; then
      pass "$when: $url through urlmon equals the Linux page"
    else
      fail "$when: $url differs from the Linux page ($WORK/$name.*.html, $(cat "$WORK/$name.err"))"
    fi
  done
}
expect_registered() {  # WHEN
  expect_value "HKCR\\CLSID\\$CLASS\\InprocServer32" "" "$WIN_DIR\\varnolis.dll"
  expect_value "HKCR\\TypeLib\\$LIBID\\$(version_part VERSION_MAJOR).$(version_part VERSION_MINOR)\\0\\$WINEARCH" \
    "" "$WIN_DIR\\varnolis.dll"
  expect_value 'HKCR\PROTOCOLS\Handler\varnolis' CLSID "$CLASS"
  expect_value "HKCR\\CLSID\\$INFO_CLASS\\InprocServer32" "" "$WIN_DIR\\varnolis.dll"
  expect_value 'HKCR\Varnolis.clHTMLInfo\CLSID' "" "$INFO_CLASS"
}
expect_unregistered() {  # WHEN REG-FILE
  export_classes "$2"
  if cmp -s "$WORK/before.reg" "$2"; then pass "$1: HKCR is as before the installation"
  else fail "$1: HKCR differs from before the installation: see $WORK/before.reg and $2"; fi
  if key_exists "HKCR\\CLSID\\$INFO_CLASS" || key_exists 'HKCR\Varnolis.clHTMLInfo'; then
    fail "$1: a key of Varnolis.clHTMLInfo is left"; else
    pass "$1: no key of Varnolis.clHTMLInfo is left"; fi
  if key_exists "$UNINSTALL_KEY"; then fail "$1: the uninstall entry is left"; else
    pass "$1: the uninstall entry is gone"; fi
}
expect_same_file() {  # WHAT FILE EXPECTED
  if cmp -s "$2" "$3"; then pass "$1"; else fail "$1: $2 differs from $3"; fi
}

# ---- a silent installation into a chosen folder ------------------------------------------
export_classes "$WORK/before.reg"
if install; then pass "setup.exe /S /D=$WIN_DIR"; else fail "setup.exe /S /D=$WIN_DIR: status $?"; fi
# Everything of the program folder the installer was made from (the debug log of test runs
# aside), and the uninstaller.
PROGRAM_FILES=$( (cd "$WIN_BUILD/Varnolis" && find . -type f ! -name debug.log && echo ./uninstall.exe) |
  sed 's|^\./||' | sort | tr '\n' ' ')
got=$(installed_files)
if [ "$got" = "$PROGRAM_FILES" ]; then pass "the program folder is installed"; else
  fail "installed files: $got"; fi
expect_same_file "a fresh installation gets the demo configuration" \
  "$PROGRAM/databases/config.mdb" "$WIN_BUILD/Varnolis/databases/config.mdb"
expect_registered "installed"
expect_start_menu_entry "installed"
expect_value "$UNINSTALL_KEY" DisplayName Varnolis
expect_value "$UNINSTALL_KEY" DisplayVersion "$VERSION"
expect_value "$UNINSTALL_KEY" Publisher "$PUBLISHER"
expect_value "$UNINSTALL_KEY" InstallLocation "$WIN_DIR"
expect_value "$UNINSTALL_KEY" UninstallString "\"$WIN_DIR\\uninstall.exe\""
expect_value "$UNINSTALL_KEY" QuietUninstallString "\"$WIN_DIR\\uninstall.exe\" /S"
expect_value "$UNINSTALL_KEY" NoModify 0x1
size=$(reg_value "$UNINSTALL_KEY" EstimatedSize)
if [ -n "$size" ] && [ $((size)) -gt 1000 ]; then pass "EstimatedSize $((size)) KB"; else
  fail "EstimatedSize '$size'"; fi
expect_pages installed varnolis://test varnolis://info varnolis://rubrik/Start

# ---- the installed configuration program, as the administrator uses it next ----------------
# Started from the Start-menu entry's target, with ACT!'s NetLinks folder named for the user: a
# rubric's Titel changed and saved by changing the tab, the start files written, the window
# closed. The library reads the same config.mdb: the next page shows the new Titel.
if [ "$KONFIGURATION" = yes ]; then
  NETLINKS_DIR='C:\ACT NetLinks'
  NETLINKS="$WINEPREFIX/drive_c/ACT NetLinks"
  mkdir -p "$NETLINKS"
  "$WINE" reg add 'HKCU\Software\Symantec\ACT!' /v 'NetLinks File Type' /d "$NETLINKS_DIR" /f >/dev/null
  TITLE='Kundenblatt, neu aus der Konfiguration'
  driven=$WORK/konfiguration.out
  if (cd "$WORK" && timeout 600 "$WINE" konfiguration_driver.exe \
    "$WIN_DIR\\varnolis-konfiguration.exe" "$TITLE") >"$driven" 2>"$WORK/konfiguration.err"; then
    pass "varnolis-konfiguration.exe started, driven and closed"
  else fail "driving varnolis-konfiguration.exe: status $? ($(cat "$WORK/konfiguration.err"))"; fi
  tr -d '\r' <"$driven" >"$driven.txt"
  shown() { sed -n "s/^$1=//p" "$driven.txt" | head -n 1; }
  rubric=$(shown rubrik)
  start_rubric=$(shown startrubrik)
  if [ "$(shown exit)" = 0 ]; then pass "the program ends with status 0"; else
    fail "the program's exit: '$(shown exit)'"; fi
  saved=$(sqlite3 "$PROGRAM/databases/config.mdb" "SELECT Titel FROM Rubriken WHERE Rubrik = '$rubric'")
  if [ -n "$rubric" ] && [ "$saved" = "$TITLE" ]; then
    pass "the new Titel of $rubric is in the installed config.mdb"
  else fail "Titel of '$rubric' in the installed config.mdb: '$saved' (was '$(shown titel)')"; fi
  # A rubric's page needs ACT! with a contact: the test ACT! on the installed demo state
  # (registered for this user, and unregistered again before the registry is compared).
  act() { (cd "$WORK" && "$WINE" test_act.exe "$@"); }
  cp "$PROGRAM/databases/demo-act.json" "$WORK/act.json"
  act --register >/dev/null 2>&1 || fail "test_act.exe --register"
  (cd "$WORK" && exec "$WINE" test_act.exe "$(windows_path "$WORK/act.json")") \
    >"$WORK/test_act.log" 2>&1 &
  act_pid=$!
  for _ in $(seq 100); do act --count >/dev/null 2>&1 && break; sleep 0.3; done
  windows_page de_DE.UTF-8 "varnolis://rubrik/$rubric" >"$WORK/konfiguration.html" 2>&1 || true
  act --quit >/dev/null 2>&1 || true
  wait "$act_pid" 2>/dev/null || true
  act --unregister >/dev/null 2>&1 || fail "test_act.exe --unregister"
  if grep -qF "<P  CLASS=\"title1\">$TITLE<BR>" "$WORK/konfiguration.html"; then
    pass "the next page through urlmon shows the new Titel"
  else fail "varnolis://rubrik/$rubric does not show '$TITLE' ($WORK/konfiguration.html)"; fi
  if [ "$(shown netlinks)" = "$NETLINKS_DIR" ]; then pass "the NetLinks folder from ACT!'s key"; else
    fail "the NetLinks field shows '$(shown netlinks)'"; fi
  if [ -n "$start_rubric" ] &&
    [ "$(sqlite3 "$PROGRAM/databases/config.mdb" "SELECT COUNT(*) FROM Rubriken WHERE Rubrik = '$start_rubric'")" = 1 ]; then
    pass "the start rubric $start_rubric is a rubric of config.mdb"
  else fail "the start rubric shown is '$start_rubric'"; fi
  messages=$(grep -c '^message=' "$driven.txt" || true)
  if [ "$messages" = 1 ] && grep -q '^wurden neu erstellt\.$' "$driven.txt"; then
    pass "one message: the start files were written"
  else fail "$messages message(s): $(cat "$driven.txt")"; fi
  if grep -qF "varnolis://rubrik/$start_rubric'" "$NETLINKS/Varnolis.htm" 2>/dev/null &&
    grep -qF "<a href=\"varnolis://rubrik/$start_rubric\">" "$NETLINKS/Varnolis.htm"; then
    pass "Varnolis.htm leads to varnolis://rubrik/$start_rubric"
  else fail "Varnolis.htm does not lead to varnolis://rubrik/$start_rubric"; fi
  if tr -d '\r' <"$NETLINKS/Varnolis.ctl" 2>/dev/null | grep -qxF "STARTURL=\"$NETLINKS_DIR\\Varnolis.htm\""; then
    pass "Varnolis.ctl names the page as $NETLINKS_DIR\\Varnolis.htm"
  else fail "Varnolis.ctl does not name $NETLINKS_DIR\\Varnolis.htm"; fi
  echo "configuration program checked after $((SECONDS - START)) s"
fi

# ---- an update over an installation with a changed configuration ------------------------
sqlite3 "$PROGRAM/databases/config.mdb" "CREATE TABLE Kundenaenderung (Wert TEXT);
  INSERT INTO Kundenaenderung VALUES ('vom Kunden');"
cp "$PROGRAM/databases/config.mdb" "$WORK/changed-config.mdb"
if cmp -s "$WORK/changed-config.mdb" "$WIN_BUILD/Varnolis/databases/config.mdb"; then
  fail "the configuration did not change for the update test"; fi
rm "$PROGRAM/ResourceHTML/styles.css"
# Without /D= an update goes where the installed version is.
if (cd "$WORK" && "$WINE" setup.exe /S); then pass "setup.exe /S over the installation"; else
  fail "setup.exe /S (update): status $?"; fi
if [ -e "$WINEPREFIX/drive_c/Program Files/Varnolis" ]; then
  fail "the update went to the default folder, not to the installed version's"; fi
expect_same_file "an update keeps the changed config.mdb byte for byte" \
  "$PROGRAM/databases/config.mdb" "$WORK/changed-config.mdb"
expect_same_file "an update restores the program files" \
  "$PROGRAM/ResourceHTML/styles.css" "$WIN_BUILD/Varnolis/ResourceHTML/styles.css"

# ---- a silent uninstallation keeps the configuration ----------------------------------------
# _?= makes the uninstaller run in place and return when it is done (it then cannot delete
# itself, so uninstall.exe stays).
"$WINE" reg add 'HKCU\Software\VB and VBA Program Settings\Varnolis\Optionen' /v Debug /d 1 /f >/dev/null
windows_page de_DE.UTF-8 varnolis://test >/dev/null
[ -f "$PROGRAM/debug.log" ] || fail "no debug.log in the program folder with Debug=1"
"$WINE" reg delete 'HKCU\Software\VB and VBA Program Settings\Varnolis' /f >/dev/null
if (cd "$WORK" && run_unquoted "$WIN_DIR\\uninstall.exe" /S "_?=$WIN_DIR"); then
  pass "uninstall.exe /S _?=$WIN_DIR"; else fail "uninstall.exe /S: status $?"; fi
expect_unregistered "uninstalled" "$WORK/uninstalled.reg"
expect_no_start_menu_entry "uninstalled"
got=$(installed_files)
if [ "$got" = "databases/config.mdb uninstall.exe " ]; then
  pass "the program files and debug.log are gone, config.mdb stays"; else
  fail "left after the uninstallation: $got"; fi
expect_same_file "the uninstallation keeps config.mdb byte for byte" \
  "$PROGRAM/databases/config.mdb" "$WORK/changed-config.mdb"
rm -f "$PROGRAM/uninstall.exe"

# ---- installing again where a configuration was kept ------------------------------------
if install; then pass "setup.exe /S into the folder with the kept config.mdb"; else
  fail "setup.exe /S (again): status $?"; fi
expect_same_file "installing again keeps the kept config.mdb byte for byte" \
  "$PROGRAM/databases/config.mdb" "$WORK/changed-config.mdb"
expect_registered "installed again"
expect_start_menu_entry "installed again"
expect_pages "installed again" varnolis://test

# ---- the uninstaller as the list of programs starts it, configuration ticked --------------
# Without _?= the uninstaller runs from a copy in %TEMP% and returns at once; the copy removes
# the uninstaller and the folder.
if (cd "$WORK" && "$WINE" "$WIN_DIR\\uninstall.exe" /S /REMOVECONFIG); then
  pass "uninstall.exe /S /REMOVECONFIG"; else fail "uninstall.exe /S /REMOVECONFIG: status $?"; fi
for _ in $(seq 1 120); do
  [ -e "$PROGRAM" ] || key_exists "$UNINSTALL_KEY" || break
  sleep 0.5
done
if [ -e "$PROGRAM" ]; then fail "the program folder is left: $(installed_files)"; else
  pass "/REMOVECONFIG removes the whole program folder, config.mdb and uninstaller included"; fi
expect_unregistered "uninstalled with the configuration" "$WORK/removed.reg"
expect_no_start_menu_entry "uninstalled with the configuration"

echo "installer: $failures failure(s) in $((SECONDS - START)) s"
[ "$failures" = 0 ]
