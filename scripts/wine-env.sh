# Sourced: the Wine environment of a build tree. Usage: . scripts/wine-env.sh <prefix dir>
export WINEPREFIX="$1"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
wine_quiet() { "$@" 2> >(grep -v -e 'wine32 is missing' -e 'multiarch' -e 'dpkg --add-architecture' -e 'apt-get install wine32' >&2); }
ensure_prefix() {
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
