# The pieces the shell checks of the Windows build share, sourced by them: counting pass/fail
# lines, the Wine of a build folder, a fresh prefix with one wineserver, Windows names of Linux
# paths, reading and exporting the registry, and a page fetched through urlmon next to the Linux
# build's page for the same URL.
#
# Before sourcing: WINEPREFIX exported, WORK (the check's folder, where urlmon_client.exe lies),
# and for the pages LINUX_DIR (the Linux program folder) and WIN_DIR (the Windows program folder
# as Windows names it); ACT_STATE, when set, is the ACT! state the Linux host reads. WINE may
# name another loader.
# shellcheck shell=bash

WINE=${WINE:-wine}
failures=0

# The Wine a Windows build folder's programs run under, as its configuration found it: the
# 32-bit build under wine in a win32 prefix, the 64-bit build under wine64 in a win64 prefix;
# OBJDUMP for its binaries. Exports WINEARCH.
wine_of_build() {  # BUILD
  local loader
  loader=$(sed -n 's/^VARNOLIS_WINE:FILEPATH=//p' "$1/CMakeCache.txt")
  WINE=${loader:-wine}
  case "$WINE" in
    *wine64) WINEARCH=win64 ;;
    *) WINEARCH=win32 ;;
  esac
  export WINEARCH
  OBJDUMP=$(sed -n 's/^CMAKE_OBJDUMP:FILEPATH=//p' "$1/CMakeCache.txt")
  OBJDUMP=${OBJDUMP:-i686-w64-mingw32-objdump}
}
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}
pass() { echo "ok: $*"; }

# Makes $WINEPREFIX anew and keeps one wineserver for the rest of the run (every Wine program
# otherwise pays the start-up); the server ends when the calling script does.
fresh_prefix() {
  rm -rf "$WINEPREFIX"
  mkdir -p "$WINEPREFIX"
  # Windows exist without a display when the driver is "null" before the first program runs.
  printf '%s\n' 'WINE REGISTRY Version 2' ';; All keys relative to \\User\\S-1-5-21-0-0-0-1000' '' \
    '#arch='"${WINEARCH:-win32}" '' '[Software\\Wine\\Drivers] 1700000000' '"Graphics"="null"' \
    >"$WINEPREFIX/user.reg"
  "$WINE" wineboot -i >/dev/null 2>&1 || true
  wineserver -w
  wineserver -p
  trap 'wineserver -k 2>/dev/null || true' EXIT
}

# The data of a REG_SZ or REG_DWORD value (a DWORD as 0x...), "" for the default value.
reg_value() {  # KEY NAME
  local args=(/ve)
  [ -n "$2" ] && args=(/v "$2")
  "$WINE" reg query "$1" "${args[@]}" 2>/dev/null | tr -d '\r' |
    awk -F'    ' '$3 == "REG_SZ" || $3 == "REG_DWORD" { print $4 }'
}
expect_value() {  # KEY NAME EXPECTED
  local got
  got=$(reg_value "$1" "$2")
  if [ "$got" = "$3" ]; then pass "$1 ${2:-(Default)} = $3"; else
    fail "$1 ${2:-(Default)} is '$got', expected '$3'"; fi
}
# A Linux path as the programs under Wine name it: Wine maps the root as drive Z:.
windows_path() { printf 'Z:%s' "$1" | tr / '\\'; }
key_exists() { "$WINE" reg query "$1" >/dev/null 2>&1; }
export_classes() { "$WINE" regedit /E "$(printf 'Z:%s' "$1" | tr / '\\')" HKEY_CLASSES_ROOT; }

# The Linux page with the Windows program folder's paths, and the page through urlmon, both
# without the blanks that pad the last chunk (their count depends on the length of the paths).
perl_trim='s/ +\z//'
# The info page names the debug log's two places: beside the library and the user's own file
# (%LOCALAPPDATA%\Varnolis\debug.log on Windows, below the state folder on Linux).
# Sets WIN_USER_LOG once per run (it asks the prefix).
windows_user_log() {
  if [ -z "${WIN_USER_LOG:-}" ]; then
    WIN_USER_LOG="$("$WINE" cmd /c 'echo %LOCALAPPDATA%' 2>/dev/null | tr -d '\r')\\Varnolis\\debug.log"
  fi
}
linux_page() {  # LOCALE URL
  local home=$WORK/linux-home act=()
  mkdir -p "$home"
  [ -n "${ACT_STATE:-}" ] && act=(VARNOLIS_ACT="$ACT_STATE")
  windows_user_log
  env -i PATH="$PATH" HOME="$home" XDG_CONFIG_HOME="$home" TMPDIR="$home" LC_ALL="$1" \
    "${act[@]}" "$LINUX_DIR/varnolis" get "$2" |
    L="$LINUX_DIR" W="$WIN_DIR" H="$home" U="$WIN_USER_LOG" perl -0777 -pe \
      's/\Q$ENV{L}\E\/libvarnolis\.so/$ENV{W}\\varnolis.dll/g;
       s/\Q$ENV{L}\E\/(ResourceHTML|databases)\//$ENV{W}\\$1\\/g;
       s/\Q$ENV{L}\E\/debug\.log/$ENV{W}\\debug.log/g;
       s/\Q$ENV{H}\E\/\.local\/state\/varnolis\/debug\.log/$ENV{U}/g;'"$perl_trim"
}
windows_page() {  # LOCALE URL
  (cd "$WORK" && LC_ALL=$1 timeout 300 "$WINE" urlmon_client.exe "$2") |
    perl -0777 -pe "$perl_trim"
}
