#!/usr/bin/env bash
# Pages per second of the working day under Wine with the test ACT! running against the same
# requests without it, in one run, and their ratio; with the automation calls the test ACT!
# served per request.
#
#   bash bench/wine_act_day.sh WINDOWS_BUILD [REQUESTS] [THREADS]
#
# WINDOWS_BUILD is a 64-bit (or, where 32-bit programs run, 32-bit) build folder with Varnolis/
# and the test programs (urlmon_client, working_day, test_act) built. REQUESTS (400) are made
# after a warm-up of 40, from THREADS apartments (4). Works in WINDOWS_BUILD/bench-act-day, in a
# prefix of its own.
#
# Without ACT! a rubric page ends at its first check (message 122) and runs no query, so the
# pages of that day are cheaper than the pages with ACT!: the ratio overstates what ACT! costs.
set -euo pipefail

if [ $# -lt 1 ]; then
  echo "usage: bash bench/wine_act_day.sh WINDOWS_BUILD [REQUESTS] [THREADS]" >&2
  exit 1
fi
WIN_BUILD=$(cd "$1" && pwd)
REQUESTS=${2:-400}
THREADS=${3:-4}
WARMUP=40
SOURCE=$(cd "$(dirname "$0")/.." && pwd)
for f in Varnolis/varnolis.dll Varnolis/varnolis.exe tests/windows/urlmon_client.exe \
  tests/windows/working_day.exe tests/windows/test_act/test_act.exe; do
  [ -f "$WIN_BUILD/$f" ] || { echo "wine_act_day: $WIN_BUILD/$f is missing" >&2; exit 1; }
done

WORK=$WIN_BUILD/bench-act-day
export WINEPREFIX=$WORK/prefix WINEDEBUG=-all
PROGRAM=$WINEPREFIX/drive_c/Program\ Files/Varnolis
# shellcheck source=tests/windows/wine_checks.sh
source "$SOURCE/tests/windows/wine_checks.sh"
wine_of_build "$WIN_BUILD"

rm -rf "$WORK"
fresh_prefix
mkdir -p "$PROGRAM" "$WORK/day"
cp -r "$WIN_BUILD/Varnolis/." "$PROGRAM/"
for exe in tests/windows/urlmon_client.exe tests/windows/working_day.exe \
  tests/windows/test_act/test_act.exe; do
  cp "$WIN_BUILD/$exe" "$WORK/"
done
wine_de() { (cd "$WORK" && LC_ALL=de_DE.UTF-8 "$WINE" "$@"); }
(cd "$PROGRAM" && "$WINE" regsvr32 /s varnolis.dll)
(cd "$PROGRAM" && "$WINE" varnolis.exe register >/dev/null)

ACT_STATE=$WORK/act.json
cp "$PROGRAM/databases/demo-act.json" "$ACT_STATE"
wine_de test_act.exe --register
(cd "$WORK" && LC_ALL=de_DE.UTF-8 exec "$WINE" test_act.exe "$(windows_path "$ACT_STATE")") \
  >"$WORK/test_act.log" 2>&1 &
ACT_PID=$!
stop_act() {
  wine_de test_act.exe --quit >/dev/null 2>&1 || true
  wait "$ACT_PID" 2>/dev/null || true
}
trap 'stop_act; wineserver -k 2>/dev/null || true' EXIT
for _ in $(seq 100); do wine_de test_act.exe --count >/dev/null 2>&1 && break; sleep 0.3; done
iconv -f UTF-8 -t CP1252 "$SOURCE/tests/windows/regional/de_DE.reg" >"$WORK/de_DE.reg"
wine_de regedit /S "$(windows_path "$WORK/de_DE.reg")" >/dev/null 2>&1

RUBRICS=(varnolis://rubrik/Start varnolis://rubrik/Rechnungen varnolis://rubrik/Offene_Posten
  varnolis://rubrik/Info varnolis://rubrik/Notizen)
PLAIN=(varnolis://test varnolis://info varnolis://gibtsnicht)

# EXPECTED URL...: each page as it is now, to hold the day's pages against.
expect() {
  local folder=$1 k=0
  shift
  mkdir -p "$folder"
  for url in "$@"; do
    windows_page de_DE.UTF-8 "$url" >"$folder/$k.html"
    k=$((k + 1))
  done
}
# NAME EXPECTED URL...: one day; prints its pages per second.
day() {
  local name=$1 folder=$2
  shift 2
  (cd "$WORK" && LC_ALL=de_DE.UTF-8 "$WINE" working_day.exe --threads "$THREADS" \
    --requests $((REQUESTS + WARMUP)) --warmup "$WARMUP" "$(windows_path "$folder")" "$@") \
    >"$WORK/$name.txt" 2>&1 || true
  tr -d '\r' <"$WORK/$name.txt" | sed -n 's/^requests .*: \([0-9.]*\) per second$/\1/p'
}
rate() { tr -d '\r' <"$WORK/$1.txt" | sed -n 's/^differing \([0-9]*\) failed \([0-9]*\)$/\1 differing, \2 failed/p'; }

expect "$WORK/day/with" "${PLAIN[@]}" "${RUBRICS[@]}"
wine_de test_act.exe --calls >/dev/null
with=$(day with "$WORK/day/with" "${PLAIN[@]}" "${RUBRICS[@]}")
calls=$(wine_de test_act.exe --calls | tr -d '\r')
stop_act
rm -f "$ACT_STATE"
expect "$WORK/day/without" "${PLAIN[@]}" "${RUBRICS[@]}"
without=$(day without "$WORK/day/without" "${PLAIN[@]}" "${RUBRICS[@]}")

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.3f", (b > 0 ? a / b : 0) }'; }
echo "requests $REQUESTS after $WARMUP, $THREADS threads, $((${#PLAIN[@]} + ${#RUBRICS[@]})) URLs in turn"
echo "with the test ACT!:           $with pages/s ($(rate with)); ACT! calls served: $calls," \
  "$(ratio "$calls" $((REQUESTS + WARMUP))) a request"
echo "without ACT! (rubrics: 122):  $without pages/s ($(rate without))"
echo "ratio with / without:         $(ratio "$with" "$without")"
