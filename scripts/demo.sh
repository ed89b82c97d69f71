#!/usr/bin/env bash
# Sets up and builds Varnolis, then renders the start rubric of the shipped demo configuration
# for the demo contact of the shipped ACT! stand-in into a file, as the browser inside ACT!
# would receive it, and prints where the page is.
# Usage: bash scripts/demo.sh [URL]     (default: varnolis://rubrik/Start)
#        bash scripts/demo.sh --konfiguration
#                                       opens the configuration program on the demo database
#                                       (on $DISPLAY, or under Xvfb when there is none)
#        bash scripts/demo.sh --kontakt [URL]
#                                       opens the contact tab browser on the demo (default: its
#                                       start rubric), on $DISPLAY or under Xvfb
# VARNOLIS_ACT names another ACT! stand-in, VARNOLIS_DEMO_OUT another output file.
set -euo pipefail

cd "$(dirname "$0")/.."
ROOT=$(pwd)
KONFIGURATION=0
KONTAKT=0
if [ "${1:-}" = "--konfiguration" ]; then
  KONFIGURATION=1
  shift
elif [ "${1:-}" = "--kontakt" ]; then
  KONTAKT=1
  shift
fi
GIVEN_URL=${1:-}
URL=${GIVEN_URL:-varnolis://rubrik/Start}

# The packages the build needs (the same as the continuous integration installs), only when
# one of them is missing.
PACKAGES=(build-essential cmake googletest libgtest-dev libsqlite3-dev sqlite3 unixodbc-dev
          odbc-postgresql libsqliteodbc nlohmann-json3-dev libicu-dev)
if [ "$KONFIGURATION" = 1 ]; then PACKAGES+=(qt6-base-dev xvfb xauth); fi
if [ "$KONTAKT" = 1 ]; then PACKAGES+=(qt6-base-dev qt6-webengine-dev xvfb xauth); fi
missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  if [ "$(id -u)" != 0 ]; then
    echo "missing packages: ${missing[*]} (run this script as root, or install them)" >&2
    exit 1
  fi
  echo "installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  # shellcheck source=scripts/apt_update.sh
  source scripts/apt_update.sh
  apt_update || echo "apt-get update failed, installing from the package lists at hand" >&2
  apt-get install -y --no-install-recommends "${missing[@]}"
fi

# An existing build keeps its settings; a new one leaves out the configuration program when
# Qt 6 is not installed.
if [ ! -f build/CMakeCache.txt ] || [ "$KONFIGURATION" = 1 ] || [ "$KONTAKT" = 1 ]; then
  config=OFF
  if [ -d /usr/lib/x86_64-linux-gnu/cmake/Qt6 ] || [ -d /usr/lib/aarch64-linux-gnu/cmake/Qt6 ]; then config=ON; fi
  kontakt=()
  if [ "$KONTAKT" = 1 ]; then kontakt=(-DVARNOLIS_KONTAKT=ON); fi
  cmake -S . -B build ${config:+-DVARNOLIS_CONFIG_PROGRAM=$config} "${kontakt[@]}" >/dev/null
fi
TARGETS=(varnolis varnolis_host varnolis_resources vn_databases)
if [ "$KONFIGURATION" = 1 ]; then TARGETS+=(varnolis-konfiguration); fi
if [ "$KONTAKT" = 1 ]; then TARGETS+=(varnolis-kontakt); fi
cmake --build build -j"$(nproc)" --target "${TARGETS[@]}" >/dev/null

PROGRAM=$ROOT/build/Varnolis
DEMO=$ROOT/build/demo
# The demo's own settings folder, so that nothing of the user's (Debug switch, registration)
# is read or touched.
mkdir -p "$DEMO/config"
export XDG_CONFIG_HOME=$DEMO/config
export VARNOLIS_ACT=${VARNOLIS_ACT:-$PROGRAM/databases/demo-act.json}
# The pages speak the user's language; without one (no locale, or C/POSIX), the demo shows them
# as a German user sees them (messages, number and date formats).
LOCALE=()
case "${LC_ALL:-${LANG:-}}" in
  "" | C | C.* | POSIX) LOCALE=(-u LC_ALL -u LC_NUMERIC -u LC_TIME -u LC_MESSAGES LANG=de_DE.UTF-8) ;;
esac

if [ "$KONFIGURATION" = 1 ] || [ "$KONTAKT" = 1 ]; then
  if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
    export XDG_RUNTIME_DIR=$DEMO/runtime
    mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
  fi
fi

if [ "$KONTAKT" = 1 ]; then
  echo "opening the contact tab browser on ${GIVEN_URL:-the start page} (ACT! stand-in: $VARNOLIS_ACT)"
  # The engine's sandbox refuses to run as root.
  if [ "$(id -u)" = 0 ]; then export QTWEBENGINE_DISABLE_SANDBOX=1; fi
  if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    exec env "${LOCALE[@]}" "$PROGRAM/varnolis-kontakt" ${GIVEN_URL:+"$GIVEN_URL"}
  fi
  echo "no display: running it under Xvfb (end it with Ctrl+C)"
  exec env "${LOCALE[@]}" QTWEBENGINE_CHROMIUM_FLAGS="${QTWEBENGINE_CHROMIUM_FLAGS:---disable-gpu}" \
    xvfb-run -a -s "-screen 0 1280x1024x24" "$PROGRAM/varnolis-kontakt" ${GIVEN_URL:+"$GIVEN_URL"}
fi

if [ "$KONFIGURATION" = 1 ]; then
  echo "opening the configuration program on $PROGRAM/databases/config.mdb"
  if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    exec env "${LOCALE[@]}" "$PROGRAM/varnolis-konfiguration"
  fi
  echo "no display: running it under Xvfb (end it with Ctrl+C)"
  exec env "${LOCALE[@]}" xvfb-run -a -s "-screen 0 1280x1024x24" "$PROGRAM/varnolis-konfiguration"
fi

OUT=${VARNOLIS_DEMO_OUT:-$DEMO/$(echo "$URL" | sed -E 's#^[a-z]+:/*##; s#[^A-Za-z0-9._-]+#_#g; s#^$#index#').html}
mkdir -p "$(dirname "$OUT")"
env "${LOCALE[@]}" "$PROGRAM/varnolis" get -o "$OUT" "$URL"
echo "$URL rendered into $OUT"
echo "open it in a browser: xdg-open '$OUT'  (the page's images and stylesheet come from $PROGRAM/ResourceHTML)"
