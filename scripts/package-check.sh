#!/usr/bin/env bash
# Builds the Debian package (preset "package"), checks what it holds and
# depends on, unpacks it into a scratch root with dpkg -x (no container, no
# install on this machine) and runs the unpacked korvadex-cli there.
set -euo pipefail
cd "$(dirname "$0")/.."

fail() {
  echo "package-check: $*" >&2
  exit 1
}

bash scripts/install-deps.sh
cmake --preset package >/dev/null
cmake --build --preset package -j "$(nproc)"
rm -f build/package/korvadex_*.deb
cpack --preset package >/dev/null
debs=(build/package/korvadex_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "expected one package, found: ${debs[*]}"
deb=${debs[0]}
echo "package-check: $deb"

# Exactly these files: no drop-in driver library, tests, benchmarks or fuzzers.
expected_files='./lib/udev/rules.d/60-korvadex.rules
./usr/bin/korvadex
./usr/bin/korvadex-cli
./usr/share/applications/korvadex.desktop
./usr/share/icons/hicolor/32x32/apps/korvadex.png
./usr/share/man/man1/korvadex-cli.1.gz'
files=$(dpkg -c "$deb" | awk '$1 !~ /^d/ { print $6 }' | sort)
[ "$files" = "$expected_files" ] || fail "the package holds:
$files
expected:
$expected_files"

depends=$(dpkg -f "$deb" Depends)
for package in libc6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6network6 qt6-qpa-plugins fonts-ipafont-gothic; do
  grep -qE "(^|, )$package( |,|$)" <<<"$depends" || fail "Depends lacks $package: $depends"
done

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg -x "$deb" "$root"
cli=$root/usr/bin/korvadex-cli

for program in "$root/usr/bin/korvadex" "$cli"; do
  ! ldd "$program" | grep 'not found' || fail "$program lacks libraries"
done
desktop-file-validate "$root/usr/share/applications/korvadex.desktop"

version=$("$cli" --version) || fail "korvadex-cli --version failed"
[ "$version" = "korvadex-cli $(dpkg -f "$deb" Version)" ] || fail "--version says: $version"

# The man page shows the --help text line for line.
help=$("$cli" --help)
page=$(LC_ALL=C.UTF-8 MANWIDTH=200 man -l "$root/usr/share/man/man1/korvadex-cli.1.gz" |
       sed -n '/^DESCRIPTION$/,$p' | sed '1d;$d' | sed 's/^       //')
[ "$page" = "$help" ] || fail "the man page differs from --help:
$(diff <(echo "$help") <(echo "$page") || true)"

# A run of four samples as the window saves it (CR LF line ends).
sample=$root/sample.DTA
printf '%s\r\n' AD7175_DataFile: M: spsSel:5 DataCountSel:3 CHSel:0 GainSel:0 \
  fSinc5:0 fBUF_ON:0 MEND: D: 8388600 8388610 8388620 8388630 DEND: >"$sample"
info=$(LC_ALL=C.UTF-8 "$cli" info "$sample") || fail "korvadex-cli info failed"
expected_info="$sample: 100sps, 1000, CH0 (Ain0-Ain1), Sinc3
CH0 : 最大値：8388630 / 最小値：8388600 / pp値：30 digit / 標準偏差：11.2 digit
CH0 : 最大値：6.56[uV] / 最小値：-2.38[uV] / pp値：8.94[uV] / 標準偏差：3.33[uV]"
[ "$info" = "$expected_info" ] || fail "korvadex-cli info printed:
$info"

echo "package-check: $deb holds the programs, the desktop entry, the icon, the udev rule and the man page; the unpacked korvadex-cli runs"
