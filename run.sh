#!/usr/bin/env bash
# Installs what is missing, builds Notova and starts it under Wine with FILE.
# Without a display it runs under Xvfb, saves a screenshot to build/notova.png and closes.
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup.sh imagemagick
. scripts/wine-env.sh "$PWD/build/wine/prefix"
cmake --preset release >/dev/null && cmake --build --preset release -j"$(nproc)" --target notova >/dev/null
echo "Built build/release/app/notova.exe (32-bit)"
exe=build/release/app/notova.exe
if ! wine_runs_32bit; then
    # Without wine32 only the 64-bit build of the same sources can run.
    cmake --preset wine >/dev/null && cmake --build --preset wine -j"$(nproc)" --target notova >/dev/null
    exe=build/wine/app/notova.exe
    echo "wine32 is not installed: starting the 64-bit build $exe"
fi
file=()
if [ $# -gt 0 ]; then file=("$(realpath -m "$1")"); fi
if [ -n "${DISPLAY:-}" ]; then
    ensure_prefix
    file_arg=()
    if [ ${#file[@]} -gt 0 ]; then file_arg=("$(winepath -w "${file[0]}" 2>/dev/null)"); fi
    exec wine "$exe" "${file_arg[@]}"
fi
# Wine is started only inside the virtual display: a wine server started without one (by winepath,
# say) would leave the program no display to open its windows on.
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
    . scripts/wine-env.sh "$WINEPREFIX"
    ensure_prefix
    args=()
    if [ $# -gt 0 ]; then args=("$(winepath -w "$1" 2>/dev/null)"); fi
    wine_quiet wine "$0" "${args[@]}" &
    pid=$!
    for _ in $(seq 1 60); do
        sleep 1
        win=$(xdotool search --name "^Notova" 2>/dev/null | head -n 1 || true)
        [ -n "$win" ] && break
    done
    # A named file is loaded once the caption names it.
    for _ in $(seq 1 120); do
        [ $# -eq 0 ] && break
        xdotool search --name "^Notova - " >/dev/null 2>&1 && break
        sleep 1
    done
    sleep 2
    if [ -n "${win:-}" ]; then
        import -window root build/notova.png 2>/dev/null || xwd -root -silent | convert xwd:- build/notova.png
        echo "Screenshot: $PWD/build/notova.png"
    else
        echo "Notova did not show a window" >&2
    fi
    wine_quiet wineserver -k || true
    wait $pid 2>/dev/null || true
' "$exe" "${file[@]}"
