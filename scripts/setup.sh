#!/usr/bin/env bash
# Installs what building and testing Notova needs on Debian 12. Safe to run again.
set -euo pipefail
# Extra packages may be named on the command line (run.sh adds the screenshot tool).
# fonts-wine: Wine's own Fixedsys, MS Sans Serif and Marlett, so the program looks and measures as on Windows.
packages=(g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix wine64 wine fonts-wine xvfb googletest cmake g++ xdotool
          "$@")
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    echo "Installing: ${missing[*]}"
    $sudo apt-get update -qq
    # Never wine32: these machines cannot run 32-bit code, and the 64-bit build is what the tests run.
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
