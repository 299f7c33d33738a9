#!/usr/bin/env bash
# Wall time of `korvadex-cli devices` as a whole process (start-up, the
# driver's loading, the list, the output) with 8 emulated FTDI devices on the
# virtual board's drop-in library: the mean and the slowest of N runs, after
# one run to warm the file cache.
# Target: under 100 ms.
#
#   bench/cli/devices_time.sh [preset] [runs]
set -euo pipefail
cd "$(dirname "$0")/../.."
preset="${1:-default}"
runs="${2:-20}"
build="build/$preset"
program="$build/cli/korvadex-cli"
[ -x "$program" ] || { echo "devices_time: build $program first" >&2; exit 1; }
[ -e "$build/sim/d2xx/libftd2xx.so" ] || { echo "devices_time: build korvadex_sim_d2xx first" >&2; exit 1; }

export LD_LIBRARY_PATH="$build/sim/d2xx"
export KORVADEX_SIM_DEVICES="cable:silent,KVX0001:board,loop:echo,KVX0002:board,KVX0003:board,prog:silent,KVX0004:board,KVX0005:board:busy"
unset KORVADEX_BOARD
[ "$("$program" devices | wc -l)" -eq 8 ] || { echo "devices_time: 8 devices not listed" >&2; exit 1; }

times=()
for _ in $(seq "$runs"); do
  start=$(date +%s%N)
  "$program" devices >/dev/null
  times+=($(( $(date +%s%N) - start )))
done
printf '%s\n' "${times[@]}" | awk -v runs="$runs" '
  { sum += $1; if ($1 > worst) worst = $1 }
  END { mean = sum / NR / 1e6; printf "devices_time: 8 devices, %d runs: mean %.1f ms, slowest %.1f ms (target < 100 ms)\n", runs, mean, worst / 1e6; exit !(mean < 100) }'
