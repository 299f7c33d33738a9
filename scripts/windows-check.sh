#!/usr/bin/env bash
# The Windows build, checked on Debian: installs what it needs, unpacks the
# SDK, cross-builds with the `windows` preset, runs the test suite under Wine,
# compares the companion's output under Wine with the Linux build's, takes a
# picture of the window with Qt's windows platform in Xvfb, and makes the
# installer and the portable .zip and checks them in a scratch Wine
# prefix: silent install, --version, info, and an uninstall that leaves
# nothing behind. Prints how long each step took.
#
#   scripts/windows-check.sh [sdk tarball]
set -euo pipefail
cd "$(dirname "$0")/.."
root="$PWD"

packages=(
  g++-mingw-w64-x86-64-posix qt6-base-dev-tools cmake ninja-build googletest
  wine fonts-wine fonts-ipafont-gothic nsis xvfb xauth x11-utils imagemagick xdotool unzip
)
bash scripts/install-deps.sh "${packages[@]}"

step_start=0
step() { step_start=$SECONDS; echo "windows-check: $*" >&2; }
took() { echo "windows-check: $1 took $((SECONDS - step_start)) s" >&2; }

bash scripts/windows-sdk.sh "$@"

step "cross-building"
cmake --preset windows >/dev/null
cmake --build --preset windows -j "$(nproc)"
took "the cross-build"

export WINEPREFIX="$root/build/windows/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
step "running the tests under Wine"
bash scripts/wine-prefix.sh "$WINEPREFIX"
# One wineserver for the whole run, its services started before the first
# test, so no test pays for starting them.
# A wineserver left by a check that failed half-way would refuse a new one.
wineserver -k 2>/dev/null || true
wineserver -p 600
timeout 300 wine cmd /c exit
# A case that fails is tried once more, and named in the output if it was:
# now and then Wine ends a test program before its first line (a crash, or a
# failure with no output at all), never the same case twice, never on Linux.
ctest --preset windows -j "$(nproc)" --repeat until-pass:2
wineserver -k || true
# The cases that need a desktop, with the windows platform in Xvfb. A first
# run of that platform in a prefix may hang: bounded, and tried twice.
desktop_tests() { timeout 300 xvfb-run -a ctest --preset windows-desktop; }
desktop_tests || { wineserver -k || true; desktop_tests; }
wineserver -k || true
took "the Wine tests"

step "comparing the companion under Wine with the Linux build"
if [ ! -x build/default/cli/korvadex-cli ] || [ ! -e build/default/sim/d2xx/libftd2xx.so ]; then
  cmake --preset default >/dev/null
  cmake --build --preset default -j "$(nproc)" --target korvadex-cli korvadex_sim_d2xx
fi
bash scripts/wine-compare.sh build/default build/windows
took "the comparison"
wineserver -k || true

step "taking a picture of the window under Wine"
bash scripts/windows-screenshot.sh build/windows/screenshot.png build/windows
bash scripts/windows-screenshot.sh build/windows/screenshot-en.png build/windows en
# A log the Linux companion wrote, opened by the Windows program.
linux_log="build/windows/linux-log.h5"
rm -f "$linux_log"
LD_LIBRARY_PATH=build/default/sim/d2xx KORVADEX_SIM_SPEED=20 KORVADEX_SIM_CH0_SINE_UV=40 KORVADEX_SIM_CH0_SINE_HZ=1 \
  build/default/cli/korvadex-cli log --rate 10ksps --channel 0 --filter sinc5 -o "$linux_log" --runs 2 >/dev/null
bash scripts/windows-screenshot.sh build/windows/log-window.png build/windows ja "$linux_log"
took "the pictures"

step "making and checking the installer"
bash scripts/windows-installer-check.sh build/windows
took "the installer check"
