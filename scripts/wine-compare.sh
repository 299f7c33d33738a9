#!/usr/bin/env bash
# Checks that the Windows korvadex-cli.exe, under Wine, says what the Linux
# one says: a seeded `measure` on the virtual board writes the same bytes,
# and `info`, `export` and `report --json` print the same bytes, with the
# same standard error and exit code, for files of every
# kind: one per channel mode, a short one, and the refused ones of the fuzz
# corpus.
#
#   scripts/wine-compare.sh [linux build] [windows build]
#
# Defaults build/default and build/windows; the Wine prefix is the one
# scripts/wine-prefix.sh makes in the Windows build.
set -euo pipefail
cd "$(dirname "$0")/.."
root="$PWD"
linux="$(realpath "${1:-build/default}")"
windows="$(realpath "${2:-build/windows}")"
export WINEPREFIX="$windows/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export WINEPATH="Z:$root/build/windows-sdk/prefix/bin;Z:$windows/sim/d2xx"
export WINEQT_QPA_PLATFORM=offscreen WINEQT_QPA_FONTDIR='C:\windows\Fonts'
# Wine's own locale is English when the host's is C: both sides speak the
# texts as the sources hold them.
export KORVADEX_LANG=ja
bash scripts/wine-prefix.sh "$WINEPREFIX"

work="$windows/compare"
rm -rf "$work"
mkdir -p "$work/linux" "$work/wine"
cd "$work"

# A runtime folder of its own, or Qt warns on Linux that there is none.
mkdir -m 700 runtime
linux_cli() { XDG_RUNTIME_DIR="$work/runtime" LD_LIBRARY_PATH="$linux/sim/d2xx" "$linux/cli/korvadex-cli" "$@"; }
wine_cli() { wine "$windows/cli/korvadex-cli.exe" "$@"; }

failures=0
fail() { echo "wine-compare: $*" >&2; failures=$((failures + 1)); }

# The same seed, the same samples: the saved files must be byte for byte equal.
measured=()
for channel in 0 1 2; do
  for side in linux wine; do
    (cd "$side" && KORVADEX_SIM_SEED=7 KORVADEX_SIM_SPEED=20 "${side}_cli" measure --rate 1ksps --count 1000 \
      --channel "$channel" --filter sinc5 -o "run$channel" >"measure$channel.out" 2>"measure$channel.err") \
      || fail "measure --channel $channel failed on $side"
  done
  cmp -s "linux/run$channel.DTA" "wine/run$channel.DTA" || fail "measure --channel $channel: the saved files differ"
  cp "linux/run$channel.DTA" .
  measured+=("run$channel.DTA")
done
# Fewer than 256 samples: the report has no spectrum, and says why.
(cd linux && KORVADEX_SIM_SEED=3 KORVADEX_SIM_SPEED=20 linux_cli measure --rate 1ksps --count 100 --channel 0 \
  --filter sinc3 -o short >/dev/null 2>&1) || fail "measure of the short run failed"
cp linux/short.DTA .
cp "$root"/fuzz/data/corpus/*.DTA .

for file in "${measured[@]}" short.DTA $(cd "$root/fuzz/data/corpus" && ls ./*.DTA | sed 's|^\./||'); do
  for command in "info" "info --json" "export" "export --tsv" "report --json"; do
    # shellcheck disable=SC2086
    linux_status=0; linux_cli $command "$file" >linux.out 2>linux.err || linux_status=$?
    # shellcheck disable=SC2086
    wine_status=0; wine_cli $command "$file" >wine.out 2>wine.err || wine_status=$?
    # Wine itself now and then fails to start a process (exit 1, nothing
    # printed); a difference counts only when a second try shows it too.
    if [ "$linux_status" != "$wine_status" ] || ! cmp -s linux.out wine.out || ! cmp -s linux.err wine.err; then
      # shellcheck disable=SC2086
      wine_status=0; wine_cli $command "$file" >wine.out 2>wine.err || wine_status=$?
    fi
    [ "$linux_status" = "$wine_status" ] || fail "$command $file: exit $linux_status on Linux, $wine_status under Wine"
    cmp -s linux.out wine.out || fail "$command $file: standard output differs"
    cmp -s linux.err wine.err || fail "$command $file: standard error differs"
  done
done

if [ "$failures" -ne 0 ]; then
  echo "wine-compare: $failures differences" >&2
  exit 1
fi
echo "wine-compare: measure, info, export and report --json agree on $(ls ./*.DTA | wc -l) files" >&2
