#!/usr/bin/env bash
# Takes the README's screenshots of the shipped build at 100% and 200% display scale: each under Xvfb
# in a Wine prefix of its own whose screen DPI (HKCU\Control Panel\Desktop LogPixels) is 96 or 192.
# Writes docs/notova-100.png and docs/notova-200.png.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh imagemagick
. scripts/wine-env.sh "$PWD/build/screenshots/prefix"
preset=release
wine_runs_32bit || preset=wine
cmake --preset "$preset" >/dev/null && cmake --build --preset "$preset" -j"$(nproc)" --target notova >/dev/null
mkdir -p docs build/screenshots
for scale in 100 200; do
    dpi=$((96 * scale / 100))
    NOTOVA_SHOT_DPI=$dpi xvfb-run -a -s "-screen 0 1400x1100x24" bash -c '
        . scripts/wine-env.sh "$PWD/build/screenshots/prefix-$NOTOVA_SHOT_DPI"
        ensure_prefix
        wine_quiet wine reg add "HKCU\\Control Panel\\Desktop" /v LogPixels /t REG_DWORD /d "$NOTOVA_SHOT_DPI" /f >/dev/null
        wine_quiet wine reg add "HKCU\\Software\\Korvel\\Notova" /v ShowASCIIChart /t REG_DWORD /d 1 /f >/dev/null
        wine_quiet wineserver -w
        mkdir -p "$WINEPREFIX/drive_c/notes"
        printf "Notova keeps its look at every display scale.\r\n\r\n\tThe toolbar, the menus, the status bar\r\n\tand the ASCII chart are laid out for\r\n\tthe DPI of the monitor the window is on.\r\n" \
            >"$WINEPREFIX/drive_c/notes/welcome.txt"
        wine_quiet wine "$0" "C:\\notes\\welcome.txt" &
        win=""
        for _ in $(seq 1 60); do
            sleep 1
            win=$(xdotool search --onlyvisible --name "^Notova - " 2>/dev/null | head -n 1 || true)
            [ -n "$win" ] && break
        done
        sleep 2
        [ -n "$win" ] && import -window "$win" "docs/notova-$1.png"
        wine_quiet wineserver -k || true
        [ -n "$win" ]
    ' "build/$preset/app/notova.exe" "$scale"
    echo "docs/notova-$scale.png"
done
