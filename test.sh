#!/usr/bin/env bash
# Installs what is missing, builds all three presets, runs the native tests and then the
# Windows tests under Wine in Xvfb. Exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup.sh
jobs=$(nproc)
for preset in native wine release; do
    cmake --preset "$preset" >/dev/null
    mkdir -p build
    if ! cmake --build --preset "$preset" -j"$jobs" >"build/$preset.log" 2>&1; then
        tail -n 60 "build/$preset.log"
        echo "Build of $preset failed" >&2
        exit 1
    fi
done
status=0
echo "== native tests"
ctest --preset native -j"$jobs" 2>&1 | tail -n 40 || status=1
echo "== Windows tests under Wine"
prefix="$PWD/build/wine/prefix"
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
    . scripts/wine-env.sh "$0"
    ensure_prefix
    wine_quiet wineserver -p >/dev/null 2>&1 || true
    ctest --preset wine 2>&1 | tail -n 60
    rc=${PIPESTATUS[0]}
    wine_quiet wineserver -k || true
    exit $rc
' "$prefix" || status=1
exit $status
