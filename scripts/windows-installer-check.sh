#!/usr/bin/env bash
# Makes the Windows installer (korvadex-<version>-win64.exe, NSIS) and the
# portable .zip with CPack, and checks them in a scratch Wine prefix: both
# hold the same files, the programs and what they need and no virtual board
# and no tests; the silent install (/S) puts them and a Start-menu shortcut
# in place; the installed korvadex.exe is a GUI program with the version in
# its resource; the installed korvadex-cli.exe prints the project's version and
# reads a file; the silent uninstall leaves nothing behind.
#
#   scripts/windows-installer-check.sh [windows build]    (default build/windows)
set -euo pipefail
cd "$(dirname "$0")/.."
root="$PWD"
build="$(realpath "${1:-build/windows}")"
version="$(sed -n 's/^project(KORVADEX VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)"
name="korvadex-$version-win64"
packages="$build/package"

rm -rf "$packages"
(cd "$build" && cpack -G "NSIS;ZIP" -B "$packages" >/dev/null)
installer="$packages/$name.exe"
zip="$packages/$name.zip"
[ -f "$installer" ] && [ -f "$zip" ] || { echo "installer-check: $name.exe or .zip not made" >&2; exit 1; }

failures=0
fail() { echo "installer-check: $*" >&2; failures=$((failures + 1)); }

# What the zip holds, below its top folder.
held="$(unzip -Z1 "$zip" | grep -v '/$' | sed 's|^[^/]*/||' | sort)"
expected="$(printf '%s\n' COPYING.txt BUNDLED.txt HDF5-COPYING.txt zlib-LICENSE.txt mosquitto-LICENSE.txt \
  SQLite-copyright.txt libpq-COPYRIGHT.txt \
  bin/korvadex.exe bin/korvadex-cli.exe bin/korvadex-commands.dll bin/korvadex-draw.dll bin/korvadex-fftw.dll bin/korvadex-hdf5.dll bin/korvadex-mqtt.dll \
  bin/korvadex-postgres.dll bin/korvadex-sqlite.dll \
  bin/Qt6Core.dll bin/Qt6Gui.dll bin/Qt6Widgets.dll bin/Qt6Network.dll bin/libfftw3-3.dll \
  bin/libhdf5.dll bin/zlib1.dll bin/libmosquitto.dll bin/libsqlite3-0.dll bin/libpq.dll \
  bin/libstdc++-6.dll bin/libgcc_s_seh-1.dll bin/libwinpthread-1.dll \
  bin/platforms/qwindows.dll bin/platforms/qoffscreen.dll bin/styles/qwindowsvistastyle.dll \
  bin/imageformats/qico.dll | sort)"
[ "$held" = "$expected" ] || fail "the zip holds: $(echo $held)"

# zlib1=n,b: the installed programs load the zlib1.dll beside them, as on
# Windows, rather than Wine's own builtin one.
export WINEPREFIX="$build/installer-prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;zlib1=n,b"
unset WINEPATH
rm -rf "$WINEPREFIX"
bash scripts/wine-prefix.sh "$WINEPREFIX"
drive="$WINEPREFIX/drive_c"
before="$(cd "$drive" && find . -path ./windows -prune -o -path ./users -prune -o -print | sort)"

timeout 300 wine "$installer" /S '/D=C:\KORVADEX'
wineserver -w
installed="$(cd "$drive/KORVADEX" 2>/dev/null && find . -type f | sed 's|^\./||' | sort)"
[ "$installed" = "$(printf '%s\n' "$expected" Uninstall.exe | sort)" ] || fail "installed: $(echo $installed)"
find "$drive" -name 'KORVADEX.lnk' -path '*Start Menu*' | grep . >/dev/null || fail "no Start-menu shortcut"

# The window is a GUI program with the project's version in its resource; the
# companion a console program.
window="$drive/KORVADEX/bin/korvadex.exe"
x86_64-w64-mingw32-objdump -p "$window" | grep 'Subsystem.*(Windows GUI)' >/dev/null || fail "korvadex.exe is no GUI program"
[ "$(strings -el "$window" | grep -A1 -x FileVersion | tail -1)" = "$version" ] || fail "korvadex.exe has no version $version"
cli="$drive/KORVADEX/bin/korvadex-cli.exe"
x86_64-w64-mingw32-objdump -p "$cli" | grep 'Subsystem.*(Windows CUI)' >/dev/null || fail "korvadex-cli.exe is no console program"
[ "$(wine "$cli" --version)" = "korvadex-cli $version" ] || fail "--version does not print $version"
cp fuzz/data/corpus/ch0.DTA "$drive/ch0.DTA"
info="$(wine "$cli" info 'C:\ch0.DTA')" || fail "info failed"
echo "$info" | grep 'digit' >/dev/null || fail "info printed no statistics: $info"
# plot runs in the module korvadex-draw.dll, found beside the program.
wine "$cli" plot 'C:\ch0.DTA' -o 'C:\ch0.png' >/dev/null || fail "plot failed"
[ -s "$drive/ch0.png" ] || fail "plot wrote no picture"
rm -f "$drive/ch0.DTA" "$drive/ch0.png"

timeout 300 wine 'C:\KORVADEX\Uninstall.exe' /S
# The uninstaller runs from a copy in the temporary folder and returns at once.
wineserver -w
after="$(cd "$drive" && find . -path ./windows -prune -o -path ./users -prune -o -print | sort)"
[ "$before" = "$after" ] || fail "left behind: $(diff <(echo "$before") <(echo "$after") | grep '^>' | tr '\n' ' ')"
find "$drive" -name 'KORVADEX*' -path '*Start Menu*' | grep . >/dev/null && fail "the Start-menu entry is left"
wine reg query 'HKLM\Software\KORVADEX' >/dev/null 2>&1 && fail "the registry key is left"
wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\KORVADEX' >/dev/null 2>&1 \
  && fail "the uninstall entry is left"
wineserver -k || true

if [ "$failures" -ne 0 ]; then
  exit 1
fi
echo "installer-check: $name.exe and .zip: $(echo "$expected" | wc -l) files, installed, run and uninstalled cleanly" >&2
