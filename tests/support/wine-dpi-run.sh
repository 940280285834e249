#!/usr/bin/env bash
# Runs a Windows test executable under Wine on a screen of another DPI: in a prefix of its own beside
# the build's (the screen's DPI is the prefix's HKCU\Control Panel\Desktop LogPixels, read when its
# wine server starts). Usage: wine-dpi-run.sh <dpi> <exe> [arguments...]
set -u
dpi=$1
shift
here=$(cd "$(dirname "$0")/../.." && pwd)
. "$here/scripts/wine-env.sh" "${NOTOVA_WINEPREFIX:-$here/build/wine/prefix}-${dpi}dpi"
ensure_prefix >/dev/null
mark="$WINEPREFIX/.logpixels"
if [ "$(cat "$mark" 2>/dev/null)" != "$dpi" ]; then
    wine_quiet wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null
    # The value is read by a wine server started after it is stored.
    wine_quiet wineserver -w
    echo "$dpi" >"$mark"
fi
wine_quiet wine "$@"
rc=$?
# The prefix's server ends before the display does.
wine_quiet wineserver -w
exit $rc
