#!/usr/bin/env bash
# Builds the Debian packages korvadex and python3-korvadex (preset
# "package"), checks what they hold and depend on, runs lintian and
# appstreamcli over them, unpacks them into a scratch root with dpkg -x (no
# container, no install on this machine) and runs the unpacked korvadex-cli
# and the unpacked Python package there.
set -euo pipefail
cd "$(dirname "$0")/.."

fail() {
  echo "package-check: $*" >&2
  exit 1
}

bash scripts/install-deps.sh
cmake --preset package >/dev/null
cmake --build --preset package -j "$(nproc)"
rm -f build/package/*.deb
cpack --preset package >/dev/null
debs=(build/package/korvadex_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "expected one korvadex package, found: ${debs[*]}"
deb=${debs[0]}
pydebs=(build/package/python3-korvadex_*.deb)
[ ${#pydebs[@]} -eq 1 ] && [ -f "${pydebs[0]}" ] || fail "expected one python3-korvadex package, found: ${pydebs[*]}"
pydeb=${pydebs[0]}
echo "package-check: $deb $pydeb"

# Exactly these files: no drop-in driver library, tests, benchmarks or fuzzers.
expect_files() {
  local files
  files=$(dpkg -c "$1" | awk '$1 !~ /^d/ { print $6 }' | sort)
  [ "$files" = "$2" ] || fail "$1 holds:
$files
expected:
$2"
}
multiarch=$(dpkg-architecture -qDEB_HOST_MULTIARCH)
expect_files "$deb" "./lib/udev/rules.d/60-korvadex.rules
./usr/bin/korvadex
./usr/bin/korvadex-cli
./usr/lib/$multiarch/korvadex/korvadex-commands.so
./usr/lib/$multiarch/korvadex/korvadex-draw.so
./usr/lib/$multiarch/korvadex/korvadex-fftw.so
./usr/lib/$multiarch/korvadex/korvadex-ftdi.so
./usr/lib/$multiarch/korvadex/korvadex-hdf5.so
./usr/lib/$multiarch/korvadex/korvadex-mqtt.so
./usr/lib/$multiarch/korvadex/korvadex-postgres.so
./usr/lib/$multiarch/korvadex/korvadex-sqlite.so
./usr/share/applications/korvadex.desktop
./usr/share/doc/korvadex/changelog.gz
./usr/share/doc/korvadex/copyright
./usr/share/icons/hicolor/32x32/apps/korvadex.png
./usr/share/man/man1/korvadex-cli.1.gz
./usr/share/man/man1/korvadex.1.gz
./usr/share/metainfo/example.c_seed_562fa5fb.korvadex.metainfo.xml"
python_minor=$(/usr/bin/python3 -c 'import sys; print(sys.version_info.minor)')
expect_files "$pydeb" "./usr/lib/python3/dist-packages/korvadex/__init__.py
./usr/lib/python3/dist-packages/korvadex/_errors.py
./usr/lib/python3/dist-packages/korvadex/_korvadex.cpython-3${python_minor}-$multiarch.so
./usr/lib/python3/dist-packages/korvadex/board.py
./usr/lib/python3/dist-packages/korvadex/cluster.py
./usr/lib/python3/dist-packages/korvadex/log.py
./usr/lib/python3/dist-packages/korvadex/results.py
./usr/lib/python3/dist-packages/korvadex/run.py
./usr/share/doc/python3-korvadex/changelog.gz
./usr/share/doc/python3-korvadex/copyright"

# Debian's own checks: no error and no warning, over both packages.
lintian --fail-on error,warning --tag-display-limit 0 "$deb" "$pydeb" || fail "lintian found faults"

expect_depends() {
  local depends package
  depends=$(dpkg -f "$1" Depends)
  for package in "${@:2}"; do
    grep -qE "(^|, )$package( |,|$)" <<<"$depends" || fail "$1: Depends lacks $package: $depends"
  done
}
expect_depends "$deb" libc6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6network6 qt6-qpa-plugins fonts-ipafont-gothic libhdf5-103-1 libmosquitto1 libfftw3-double3
# HDF5 and FFTW come to the Python package with korvadex's modules korvadex-hdf5 and korvadex-fftw.
expect_depends "$pydeb" python3 python3-numpy libqt6core6 "korvadex \\(= $(dpkg -f "$deb" Version)\\)"

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg -x "$deb" "$root"
dpkg -x "$pydeb" "$root"
cli=$root/usr/bin/korvadex-cli

for program in "$root/usr/bin/korvadex" "$cli" "$root/usr/lib/$multiarch"/korvadex/*.so; do
  ! ldd "$program" | grep 'not found' || fail "$program lacks libraries"
done
desktop-file-validate "$root/usr/share/applications/korvadex.desktop"
# --no-net: the screenshot's address is not fetched here.
appstreamcli validate --no-net "$root"/usr/share/metainfo/*.metainfo.xml >/dev/null ||
  fail "appstreamcli validate: $(appstreamcli validate --no-net "$root"/usr/share/metainfo/*.metainfo.xml)"

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

# The unpacked program finds its modules beside it: plot draws through
# korvadex-draw.
"$cli" plot "$sample" -o "$root/sample.png" || fail "korvadex-cli plot failed"
[ -s "$root/sample.png" ] || fail "korvadex-cli plot wrote no picture"

# The unpacked Python package reads the same file with the same figures, in
# Debian's python3 (the one the package is for, whatever is first on PATH).
python=$(cd "$root" && PYTHONPATH="$root/usr/lib/python3/dist-packages" /usr/bin/python3 -c '
import korvadex, sys
run = korvadex.load(sys.argv[1])
print(korvadex.__file__, korvadex.__version__, len(run), run.codes.tolist(), run.noise()[0]["codes"]["pp"])' "$sample") ||
  fail "the unpacked korvadex Python package failed"
[ "$python" = "$root/usr/lib/python3/dist-packages/korvadex/__init__.py $(dpkg -f "$pydeb" Version) 4 [8388600, 8388610, 8388620, 8388630] 30" ] ||
  fail "the unpacked Python package printed: $python"

echo "package-check: $deb holds the programs, the desktop entry, the icon, the udev rule, the metainfo and the man pages; $pydeb the Python package; lintian finds nothing; the unpacked korvadex-cli and korvadex package run"
