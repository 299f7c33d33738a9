#!/usr/bin/env bash
# Makes a scratch Wine prefix for the Windows build's tests and pictures,
# once: the IPA fonts and Wine's Tahoma in C:\windows\Fonts (the offscreen
# platform reads fonts from there only) and "MS Shell Dlg" mapped to Tahoma.
# Does nothing when the prefix is already made.
#
#   scripts/wine-prefix.sh [prefix]      (default build/windows/wineprefix)
set -euo pipefail
cd "$(dirname "$0")/.."
export WINEPREFIX="$(realpath -m "${1:-build/windows/wineprefix}")"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
stamp="$WINEPREFIX/.korvadex-ready"
[ -f "$stamp" ] && exit 0

mkdir -p "$WINEPREFIX"
# Its "syswow64" complaint is harmless: this Wine has no 32-bit half.
wine wineboot -i >/dev/null 2>&1 || true
fonts="$WINEPREFIX/drive_c/windows/Fonts"
mkdir -p "$fonts"
cp /usr/share/fonts/opentype/ipafont-gothic/*.ttf "$fonts/"
cp /usr/share/wine/fonts/tahoma*.ttf /usr/share/wine/fonts/marlett.ttf "$fonts/"
key='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes'
for face in "MS Shell Dlg" "MS Shell Dlg 2"; do
  wine reg add "$key" /v "$face" /t REG_SZ /d Tahoma /f >/dev/null 2>&1
done
wineserver -w
touch "$stamp"
