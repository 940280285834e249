#!/usr/bin/env bash
# Installs what building and testing Notova needs on Debian 12. Safe to run again.
set -euo pipefail
# Extra packages may be named on the command line (run.sh adds the screenshot tool).
# fonts-wine: Wine's own Fixedsys, MS Sans Serif and Marlett, so the program looks and measures as on Windows.
packages=(g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix wine64 wine fonts-wine xvfb googletest cmake g++ xdotool
          "$@")
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"

# A 96-byte static i386 ELF that exits with 42: the kernel runs 32-bit code when it does.
runs_32bit_code() {
    local probe
    probe=$(mktemp)
    printf '\177ELF\1\1\1\0\0\0\0\0\0\0\0\0\2\0\3\0\1\0\0\0\124\200\4\10\64\0\0\0\0\0\0\0\0\0\0\0\64\0\40\0\1\0\0\0\0\0\0\0\1\0\0\0\0\0\0\0\0\200\4\10\0\200\4\10\140\0\0\0\140\0\0\0\5\0\0\0\0\20\0\0\273\52\0\0\0\270\1\0\0\0\315\200' >"$probe"
    chmod +x "$probe"
    local rc=0
    "$probe" 2>/dev/null || rc=$?
    rm -f "$probe"
    [ "$rc" -eq 42 ]
}

# wine32 runs the shipped 32-bit exe (Wine's WoW64 mode); it needs Debian's i386 architecture.
if runs_32bit_code; then
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        $sudo dpkg --add-architecture i386
        apt_stale=1
    fi
    packages+=(wine32:i386)
else
    echo "This machine cannot run 32-bit code: only the 64-bit build is run and tested." >&2
fi

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ] || [ -n "${apt_stale:-}" ]; then
    echo "Installing: ${missing[*]}"
    # A mirror caught mid-sync fails an index now and then: tried again, then the lists it has are used.
    for attempt in 1 2 3; do
        $sudo apt-get update -qq && break
        echo "apt-get update failed (attempt $attempt)" >&2
        [ "$attempt" -eq 3 ] || sleep $((attempt * 15))
    done
    native=() foreign=()
    for p in "${missing[@]}"; do
        if [[ $p == *:i386 ]]; then foreign+=("$p"); else native+=("$p"); fi
    done
    install() { DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "$@" >/dev/null; }
    [ ${#native[@]} -eq 0 ] || install "${native[@]}"
    # The i386 packages must match the versions of the installed amd64 ones: a mirror whose i386 lists
    # lag behind cannot give them. The 64-bit build still builds and runs; the 32-bit one is not tested.
    if [ ${#foreign[@]} -gt 0 ] && ! install "${foreign[@]}"; then
        echo "WARNING: ${foreign[*]} could not be installed from this mirror: the 32-bit build's tests cannot run" >&2
    fi
fi
