#!/usr/bin/env bash
# Builds Varnolis and renders varnolis://info (or the URL given) into a file, as the browser
# inside ACT! would receive it. Usage: bash scripts/demo.sh [URL]
set -euo pipefail

cd "$(dirname "$0")/.."
URL=${1:-varnolis://info}

if ! command -v cmake >/dev/null || ! command -v g++ >/dev/null; then
  echo "installing the build tools (needs root)"
  apt-get update && apt-get install -y --no-install-recommends \
    build-essential cmake googletest libgtest-dev libsqlite3-dev unixodbc-dev nlohmann-json3-dev \
    libicu-dev
fi

# An existing build keeps its settings; a new one leaves out the configuration program when
# Qt 6 is not installed.
if [ ! -f build/CMakeCache.txt ]; then
  config=OFF
  if [ -d /usr/lib/x86_64-linux-gnu/cmake/Qt6 ] || [ -d /usr/lib/aarch64-linux-gnu/cmake/Qt6 ]; then config=ON; fi
  cmake -S . -B build -DVARNOLIS_CONFIG_PROGRAM=$config >/dev/null
fi
cmake --build build -j"$(nproc)" --target varnolis varnolis_host varnolis_resources >/dev/null

OUT=${VARNOLIS_DEMO_OUT:-$(pwd)/build/demo/$(echo "$URL" | sed -E 's#^[a-z]+:/*##; s#[^A-Za-z0-9._-]+#_#g; s#^$#index#').html}
mkdir -p "$(dirname "$OUT")"
build/Varnolis/varnolis get -o "$OUT" "$URL"
echo "$URL rendered into $OUT"
echo "open it in a browser: xdg-open '$OUT'  (the page's images and stylesheet come from build/Varnolis/ResourceHTML)"
