#!/usr/bin/env bash
# Creates the build tree's 32-bit Wine prefix once, with what the tests need:
# no crash dialog, no sound driver noise, a virtual desktop for screenshots,
# Wine's own fonts (caption buttons) beside the CJK font from the system.
# VT_DPI (96, 120, 144, 192) sets the display scale of a new prefix; Wine
# reads it when its server starts, so the server is ended once it is set.
set -euo pipefail
source "$(dirname "$0")/wine-env.sh"
stamp=$WINEPREFIX/.vantrel-ready
[ -f "$stamp" ] && exit 0
mkdir -p "$WINEPREFIX"
echo "Creating Wine prefix $WINEPREFIX"
wineboot -i >/dev/null 2>&1 || true
wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\Drivers' /v Audio /t REG_SZ /d '' /f >/dev/null 2>&1
if [ "${VT_DESKTOP:-1}" = 1 ]; then
  wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /t REG_SZ /d Default /f >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /t REG_SZ /d 1024x768 /f >/dev/null 2>&1
fi
if [ -n "${VT_DPI:-}" ]; then
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$VT_DPI" /f >/dev/null 2>&1
  wine reg add 'HKCC\Software\Fonts' /v LogPixels /t REG_DWORD /d "$VT_DPI" /f >/dev/null 2>&1
fi
mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
cp -n /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
wineserver -w
touch "$stamp"
