#!/usr/bin/env bash
# Unpacks the Windows SDK (Qt 6.4.2 and FFTW for x86_64-w64-mingw32, with its
# CMake toolchain file) into build/windows-sdk, where the `windows` preset
# looks for it. Does nothing when that very tarball is already unpacked.
#
#   scripts/windows-sdk.sh [tarball]
#
# Default tarball: ../shared/toolchains/qt6.4.2-mingw64-posix-fftw.tar.xz,
# beside the clone.
set -euo pipefail
cd "$(dirname "$0")/.."
tarball="${1:-../shared/toolchains/qt6.4.2-mingw64-posix-fftw.tar.xz}"
sdk=build/windows-sdk
stamp="$sdk/.unpacked"

[ -f "$tarball" ] || { echo "windows-sdk: no SDK tarball at $tarball" >&2; exit 1; }
sum="$(sha256sum "$tarball" | cut -d' ' -f1)"
if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$sum" ]; then
  exit 0
fi
rm -rf "$sdk"
mkdir -p "$sdk"
tar -xJf "$tarball" -C "$sdk"
echo "$sum" >"$stamp"
echo "windows-sdk: unpacked $tarball into $sdk" >&2
