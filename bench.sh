#!/usr/bin/env bash
# Builds and runs the benchmarks under Wine and prints their tables. Not run by CI.
# Usage: ./bench.sh [32|64|both]   (32, the shipped build, by default)
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup.sh
. scripts/wine-env.sh "$PWD/build/wine/prefix"
builds=${1:-32}
presets=()
case "$builds" in
    32) presets=(bench) ;;
    64) presets=(bench64) ;;
    both) presets=(bench bench64) ;;
    *) echo "usage: $0 [32|64|both]" >&2; exit 2 ;;
esac
if [ "$builds" != 64 ] && ! wine_runs_32bit; then
    echo "wine32 is not installed: the 32-bit build cannot run here" >&2
    exit 1
fi
for preset in "${presets[@]}"; do
    configure=$([ "$preset" = bench ] && echo release || echo wine)
    cmake --preset "$configure" >/dev/null && cmake --build --preset "$configure" -j"$(nproc)" >/dev/null
done
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
    . scripts/wine-env.sh "$0"
    ensure_prefix
    shift
    for preset in "$@"; do
        echo "== $preset ($([ "$preset" = bench ] && echo 32 || echo 64)-bit build)"
        ctest --preset "$preset"
    done
    wine_quiet wineserver -k || true
' "$PWD/build/wine/prefix" "${presets[@]}"
