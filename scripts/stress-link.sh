#!/usr/bin/env bash
# The link under a starved host: korvadex-cli log at 125 ksps CH0 for RUNS
# back-to-back runs (default 50) with --reconnect, at nice 19 beside one
# busy loop per core plus two, on each driver path (the drop-in D2XX
# library, and libftdi on the emulated bridge). A board that works never
# refuses a setting, nor stops answering: every run must be complete, with
# no "board lost" and no "incomplete" in the log. Prints what the log said
# in place of each complete run. Not part of ctest: its verdict is about a
# loaded machine, not about time.
#
#   bash scripts/stress-link.sh [RUNS] [preset]
set -euo pipefail
cd "$(dirname "$0")/.."
runs="${1:-50}"
build="build/${2:-default}"
cmake --build "$build" --target korvadex-cli korvadex_sim_d2xx korvadex_sim_usb -j "$(nproc)" >/dev/null
folder="$(mktemp -d)"
busy=()
cleanup() {
  [ ${#busy[@]} -eq 0 ] || kill "${busy[@]}" 2>/dev/null || true
  rm -rf "$folder"
}
trap cleanup EXIT
for _ in $(seq $(( $(nproc) + 2 ))); do
  (while :; do :; done) &
  busy+=($!)
done

status=0
# The drop-in D2XX library's folder, then the libusb stand-in's (libftdi).
for path in d2xx usb; do
  log="$folder/$path.csv"
  LD_LIBRARY_PATH="$build/sim/$path" KORVADEX_SIM_COUNTER=1 nice -n 19 "$build/cli/korvadex-cli" log --rate 125ksps \
    --channel 0 --filter sinc5 --runs "$runs" --reconnect -o "$log" >/dev/null 2>"$folder/err" || true
  complete="$(awk -F, '$3 == "99999"' "$log" 2>/dev/null | wc -l)"
  faults="$(grep -E '^# (board lost|run [0-9]+ incomplete)' "$log" || true)"
  echo "$path: $complete of $runs runs complete"
  if [ -n "$faults" ] || [ "$complete" -ne "$runs" ]; then
    status=1
    echo "$faults" | sed 's/^/  /'
    tail -n 3 "$folder/err" | sed 's/^/  /'
  fi
done
exit "$status"
