#!/usr/bin/env bash
# Fetches the Jet 4 test database (test/fruit.mdb of the npm package mdb 0.1.0), pinned by its
# SHA-256, into .deps/access/fruit.mdb of this checkout, where the data tests look for it (or
# where VARNOLIS_TEST_ACCESS_DIR points). Never committed. Safe to run again: a checked file is
# kept. Usage: bash scripts/fetch-test-access.sh
set -euo pipefail

cd "$(dirname "$0")/.."
ROOT=$(pwd)

MDB_PACKAGE=mdb@0.1.0
MDB_SHA256=e62eac8a7d29062328484aa0477ab897f3e9fb3abbd4de26d2e7748a8e0bce79
MDB_DIR=$ROOT/.deps/access
MDB_FILE=$MDB_DIR/fruit.mdb

mdb_ok() {
  [ -f "$MDB_FILE" ] && echo "$MDB_SHA256  $MDB_FILE" | sha256sum --check --status
}

if mdb_ok; then
  echo "fetch-test-access: $MDB_FILE present and checked"
  exit 0
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
(cd "$work" && npm pack --silent "$MDB_PACKAGE" >/dev/null)
tar -xzf "$work"/mdb-*.tgz -C "$work" package/test/fruit.mdb
echo "$MDB_SHA256  $work/package/test/fruit.mdb" | sha256sum --check --quiet
mkdir -p "$MDB_DIR"
# Into place only after the check, so a half or wrong download never sits where the tests look.
cp "$work/package/test/fruit.mdb" "$MDB_FILE.new"
mv "$MDB_FILE.new" "$MDB_FILE"
echo "fetch-test-access: $MDB_FILE"
