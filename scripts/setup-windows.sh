#!/usr/bin/env bash
# Prepares a Debian 12 machine for the Windows build and its tests under Wine, and fetches the
# pinned SQLite amalgamation into .deps/sqlite3/ of this checkout (where the Windows build looks
# for it). Safe to run again at any time: installed packages and a checked amalgamation are kept.
# Packages are installed only when run as root; the amalgamation is fetched by anyone.
# Usage: bash scripts/setup-windows.sh
set -euo pipefail

cd "$(dirname "$0")/.."
ROOT=$(pwd)

# SQLite 3.53.2 as shipped in the npm package better-sqlite3 12.11.1 (deps/sqlite3/).
SQLITE_PACKAGE=better-sqlite3@12.11.1
SQLITE_C_SHA256=60d2f39a3726cd6b9021da6f4e868608d66fbb6528a9f513dc8ffcc640493422
SQLITE_H_SHA256=9e69a1353a4288450b0d5239ede11fc7f1f4c8e5eb07491fc8317eacb5b7de7e
SQLITE_DIR=$ROOT/.deps/sqlite3

PACKAGES=(
  cmake sqlite3 googletest nlohmann-json3-dev
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix mingw-w64-tools
  wine wine32:i386 wine64
  libodbc2:i386 libsqliteodbc:i386 odbc-postgresql:i386
  nsis
)

install_packages() {
  if [ "$(id -u)" != 0 ]; then
    echo "setup-windows: not root, packages are assumed to be installed"
    return
  fi
  export DEBIAN_FRONTEND=noninteractive
  local changed=0
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
    changed=1
  fi
  local missing=()
  local p
  for p in "${PACKAGES[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
      missing+=("$p")
    fi
  done
  # npm may come with another Node.js than Debian's (whose npm package conflicts with it).
  if ! command -v npm >/dev/null; then
    missing+=(npm)
  fi
  if [ ${#missing[@]} -eq 0 ] && [ $changed = 0 ]; then
    echo "setup-windows: packages present"
    return
  fi
  # shellcheck source=scripts/apt_update.sh
  source scripts/apt_update.sh
  # A mirror that stays out of sync leaves the lists of the last update: the install below says
  # whether they still serve.
  apt_update || echo "setup-windows: apt-get update failed, installing from the lists at hand" >&2
  if [ ${#missing[@]} -gt 0 ]; then
    apt-get install -y --no-install-recommends "${missing[@]}"
  fi
}

sqlite_ok() {
  [ -f "$SQLITE_DIR/sqlite3.c" ] && [ -f "$SQLITE_DIR/sqlite3.h" ] &&
    echo "$SQLITE_C_SHA256  $SQLITE_DIR/sqlite3.c" | sha256sum --check --status &&
    echo "$SQLITE_H_SHA256  $SQLITE_DIR/sqlite3.h" | sha256sum --check --status
}

fetch_sqlite() {
  if sqlite_ok; then
    echo "setup-windows: SQLite amalgamation present and checked"
    return
  fi
  local work
  work=$(mktemp -d)
  # shellcheck disable=SC2064
  trap "rm -rf '$work'" RETURN
  (cd "$work" && npm pack --silent "$SQLITE_PACKAGE" >/dev/null)
  tar -xzf "$work"/better-sqlite3-*.tgz -C "$work" \
    package/deps/sqlite3/sqlite3.c package/deps/sqlite3/sqlite3.h
  echo "$SQLITE_C_SHA256  $work/package/deps/sqlite3/sqlite3.c" | sha256sum --check --quiet
  echo "$SQLITE_H_SHA256  $work/package/deps/sqlite3/sqlite3.h" | sha256sum --check --quiet
  mkdir -p "$SQLITE_DIR"
  # Into place only after the check, so a half or wrong download never sits where the build looks.
  cp "$work/package/deps/sqlite3/sqlite3.h" "$SQLITE_DIR/sqlite3.h.new"
  cp "$work/package/deps/sqlite3/sqlite3.c" "$SQLITE_DIR/sqlite3.c.new"
  mv "$SQLITE_DIR/sqlite3.h.new" "$SQLITE_DIR/sqlite3.h"
  mv "$SQLITE_DIR/sqlite3.c.new" "$SQLITE_DIR/sqlite3.c"
  echo "setup-windows: SQLite amalgamation in $SQLITE_DIR"
}

install_packages
fetch_sqlite
