#!/usr/bin/env bash
# The Windows configuration program driven by the keyboard alone, as a user meets it: real key
# presses through an X server with a window manager (Xvfb, openbox, xdotool), Wine's X11 driver,
# the program folder's own config.mdb. Start, move two records with Down, Alt+T into Titel, type,
# Alt+D to the tab Daten (which saves the rubric), close the window; then the database must hold
# the typed title and nothing else changed.
#
#   bash tests/windows/keyboard_run.sh WINDOWS_BUILD
#
# Works in WINDOWS_BUILD/keyboard, in a fresh prefix of the build's kind.
set -euo pipefail

if [ $# -ne 1 ]; then
  echo "usage: bash tests/windows/keyboard_run.sh WINDOWS_BUILD" >&2
  exit 1
fi
WIN_BUILD=$(cd "$1" && pwd)
SOURCE=$(cd "$(dirname "$0")/../.." && pwd)
for tool in Xvfb openbox xdotool sqlite3; do
  command -v "$tool" >/dev/null || { echo "keyboard_run: $tool is missing" >&2; exit 1; }
done
[ -f "$WIN_BUILD/Varnolis/varnolis-konfiguration.exe" ] ||
  { echo "keyboard_run: build $WIN_BUILD first" >&2; exit 1; }

WORK=$WIN_BUILD/keyboard
export WINEPREFIX=$WORK/prefix WINEDEBUG=-all
# shellcheck source=tests/windows/wine_checks.sh
source "$SOURCE/tests/windows/wine_checks.sh"
wine_of_build "$WIN_BUILD"
rm -rf "$WORK"
mkdir -p "$WORK"
cp -r "$WIN_BUILD/Varnolis" "$WORK/Varnolis"
CONFIG=$WORK/Varnolis/databases/config.mdb
rubrics() { sqlite3 "$CONFIG" "SELECT Rang, Rubrik, Titel, Menuetext, Bemerkung FROM Rubriken ORDER BY Rang"; }
BEFORE=$(rubrics)

# An X server on a free display, a window manager on it; both end with this script.
exec 5< <(Xvfb -displayfd 1 -screen 0 1280x1024x24 -nolisten tcp 2>/dev/null & echo "pid $!"; wait)
read -r _ XVFB_PID <&5
read -r -t 30 DISPLAY_NUMBER <&5 || { echo "keyboard_run: Xvfb did not start" >&2; exit 1; }
export DISPLAY=:$DISPLAY_NUMBER
openbox >/dev/null 2>&1 &
WM_PID=$!
stop_all() {
  wineserver -k 2>/dev/null || true
  kill "$WM_PID" "$XVFB_PID" 2>/dev/null || true
}
trap stop_all EXIT

# A prefix whose windows are X windows (the suites' prefixes use the null driver).
mkdir -p "$WINEPREFIX"
"$WINE" wineboot -i >/dev/null 2>&1 || true
wineserver -w
wineserver -p

(cd "$WORK/Varnolis" && LC_ALL=C.UTF-8 "$WINE" varnolis-konfiguration.exe) >"$WORK/program.log" 2>&1 &
PROGRAM_PID=$!
WINDOW=$(timeout 120 xdotool search --sync --onlyvisible --name '^Varnolis - Konfiguration$' |
  head -1) || true
[ -n "$WINDOW" ] || { echo "FAIL: the window did not appear" >&2; exit 1; }
pass "the window appeared"
# The keys go to the window that has the focus: wait until the main window holds it (the splash
# window comes and goes first) and has settled.
for _ in $(seq 60); do
  xdotool windowactivate "$WINDOW" >/dev/null 2>&1 || true
  sleep 0.5
  [ "$(xdotool getwindowfocus 2>/dev/null)" = "$WINDOW" ] && break
done
[ "$(xdotool getwindowfocus 2>/dev/null)" = "$WINDOW" ] || fail "the window never got the focus"
sleep 2

press() {  # KEY...
  xdotool key --delay 150 "$@"
  sleep 0.5
}
press Down Down
press alt+t End
xdotool type --delay 60 ' per Tastatur'
press alt+d
# The tab Daten is up and the rubric saved: Alt+F4 through the window manager ends the program.
press alt+F4
timeout 60 tail --pid="$PROGRAM_PID" -f /dev/null ||
  fail "the program did not end on Alt+F4"

EXPECTED=$(printf '%s\n' "$BEFORE" | sed 's/^3|Offene_Posten|Offene Posten|/3|Offene_Posten|Offene Posten per Tastatur|/')
AFTER=$(rubrics)
if [ "$AFTER" = "$EXPECTED" ] && [ "$AFTER" != "$BEFORE" ]; then
  pass "two records down, Alt+T, typed, Alt+D: the third rubric's title is saved, nothing else"
else
  fail "config.mdb's rubrics after the keyboard run:"$'\n'"$AFTER"$'\n'"expected:"$'\n'"$EXPECTED"
fi
[ "$failures" = 0 ] || exit 1
