#!/usr/bin/env bash
# Builds the Windows tests and runs the benchmarks under Wine; prints their tables. Not run by CI.
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup.sh
cmake --preset wine >/dev/null && cmake --build --preset wine -j"$(nproc)" >/dev/null
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
    . scripts/wine-env.sh "$0"
    ensure_prefix
    ctest --preset bench
    wine_quiet wineserver -k || true
' "$PWD/build/wine/prefix"
