#!/bin/sh
# Runs the formatter oracle: builds both sides, feeds the generated cases to Wine's VarFormat
# and to ours under the same locale, and prints the agreement rate and every disagreement.
# Needs: wine (Debian: wine64), x86_64-w64-mingw32-g++ (g++-mingw-w64-x86-64), python3, and a
# configured build of the project (default ../../build). Run by hand, not in CI.
#   bench/varformat_oracle/run.sh [locale] [seed]      e.g. run.sh de_DE.UTF-8
set -eu
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
locale=${1:-de_DE.UTF-8}
seed=${2:-20261207}
build=${BUILD:-$root/build}
out=${OUT:-$build/varformat_oracle}
mkdir -p "$out"

cmake --build "$build" --target vn_lib >/dev/null
g++ -std=c++20 -O2 -I"$root" -I"$build/generated" "$here/oracle_ours.cpp" \
    "$build/libvn_lib.a" "$build/data/libvn_data.a" "$build/platform/libvn_platform.a" \
    -licui18n -licuuc -licudata -lsqlite3 -lodbc -lpthread -o "$out/oracle_ours"
x86_64-w64-mingw32-g++ -std=c++20 -O2 -static "$here/oracle_win.cpp" -o "$out/oracle_win.exe" \
    -loleaut32 -lole32

python3 "$here/generate_cases.py" "$seed" > "$out/cases.txt"
# Wine takes the user locale from LC_ALL (LANG alone is not enough when the host has no
# such locale installed); its locale data is its own.
WINEPREFIX=${WINEPREFIX:-$out/wineprefix} WINEDEBUG=-all LC_ALL="$locale" LANG="$locale" \
    wine "$out/oracle_win.exe" < "$out/cases.txt" > "$out/windows.txt"
env -u LC_NUMERIC -u LC_TIME LC_ALL="$locale" LANG="$locale" "$out/oracle_ours" < "$out/cases.txt" > "$out/ours.txt"
python3 "$here/compare.py" "$out/cases.txt" "$out/windows.txt" "$out/ours.txt" | tee "$out/report.txt"
