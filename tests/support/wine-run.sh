#!/usr/bin/env bash
# Runs a Windows test executable under Wine with the prefix kept inside the build tree.
# CTest calls it as the cross-compiling emulator.
set -u
here=$(cd "$(dirname "$0")/../.." && pwd)
export WINEPREFIX=${NOTOVA_WINEPREFIX:-$here/build/wine/prefix}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
# Wine prints a note about the missing 32-bit loader on every call; it says nothing about the run.
exec wine "$@" 2> >(grep -v -e 'wine32 is missing' -e 'multiarch' -e 'dpkg --add-architecture' -e 'apt-get install wine32' >&2)
