# Sourced: the Wine environment of a build tree. Usage: . scripts/wine-env.sh <prefix dir>
export WINEPREFIX="$1"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
wine_quiet() { "$@" 2> >(grep -v -e 'wine32 is missing' -e 'multiarch' -e 'dpkg --add-architecture' -e 'apt-get install wine32' >&2); }
# Wine runs the shipped 32-bit exe only where wine32 is installed (scripts/setup.sh decides).
wine_runs_32bit() { dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null | grep -q "install ok installed"; }
ensure_prefix() {
    # A prefix made before wine32 was installed, or whose making was cut short, has no 32-bit
    # system: every program in it fails to load kernel32.dll. Such a prefix is made again.
    if [ -f "$WINEPREFIX/system.reg" ] && wine_runs_32bit && [ ! -f "$WINEPREFIX/drive_c/windows/syswow64/kernel32.dll" ]; then
        echo "Making the Wine prefix again with its 32-bit system: $WINEPREFIX"
        wineserver -k 2>/dev/null || true
        wineserver -w 2>/dev/null || true
        rm -rf "$WINEPREFIX"
    fi
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        mkdir -p "$WINEPREFIX"
        wine_quiet wineboot -i >/dev/null
        wine_quiet wineserver -w
    fi
    # Wine 8 on Debian does not find the fonts of fonts-wine where the package puts them.
    local fonts="$WINEPREFIX/drive_c/windows/Fonts"
    mkdir -p "$fonts"
    for f in /usr/share/wine/fonts/*; do
        [ -e "$fonts/${f##*/}" ] || cp "$f" "$fonts/"
    done
    # Without a window manager Wine waits two seconds for every managed top-level window to unmap.
    wine_quiet wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null
}
