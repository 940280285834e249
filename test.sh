#!/usr/bin/env bash
# Installs what is missing, builds all three presets, runs the native tests and then the Windows
# tests under Wine in Xvfb: those of the shipped 32-bit build and those of the 64-bit build, side by
# side, each in its own Wine prefix and virtual display. Exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup.sh
. scripts/wine-env.sh "$PWD/build/wine/prefix"
jobs=$(nproc)
mkdir -p build
for preset in native wine release; do
    cmake --preset "$preset" >/dev/null
    if ! cmake --build --preset "$preset" -j"$jobs" >"build/$preset.log" 2>&1; then
        tail -n 60 "build/$preset.log"
        echo "Build of $preset failed" >&2
        exit 1
    fi
done
status=0
echo "== native tests"
ctest --preset native -j"$jobs" 2>&1 | tail -n 40 || status=1

# Runs one test preset under Wine with the given prefix; the output goes to build/<preset>-tests.log.
run_wine_tests() {
    local preset=$1 prefix=$2
    NOTOVA_WINEPREFIX="$prefix" xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
        . scripts/wine-env.sh "$0"
        ensure_prefix
        wine_quiet wineserver -p >/dev/null 2>&1 || true
        ctest --preset "$1"
        rc=$?
        wine_quiet wineserver -k || true
        exit $rc
    ' "$prefix" "$preset" >"build/$preset-tests.log" 2>&1
}

pids=()
presets=(wine)
run_wine_tests wine "$PWD/build/wine/prefix" & pids+=($!)
if wine_runs_32bit; then
    presets+=(wine32)
    run_wine_tests wine32 "$PWD/build/release/prefix" & pids+=($!)
else
    echo "== wine32 is not installed: the 32-bit build's tests are not run"
fi
for i in "${!presets[@]}"; do
    rc=0
    wait "${pids[$i]}" || rc=$?
    echo "== Windows tests under Wine: ${presets[$i]} ($([ "${presets[$i]}" = wine ] && echo 64 || echo 32)-bit)"
    tail -n 40 "build/${presets[$i]}-tests.log"
    [ "$rc" -eq 0 ] || status=1
done
# What failed, last, where a reader of only the end of the output still sees it.
for preset in "${presets[@]}"; do
    log="build/$preset-tests.log"
    if grep -qE '^\[  FAILED  \]|\*\*\*(Failed|Timeout|Exception)' "$log"; then
        echo "== What failed in $preset (the whole output: $log)"
        grep -E -A6 'Failure$|: error: |^\[  FAILED  \] [A-Za-z]|\*\*\*(Timeout|Exception)|could not load' "$log" |
            grep -v '^\[       OK \]' | tail -n 80 || true
    fi
done
exit $status
