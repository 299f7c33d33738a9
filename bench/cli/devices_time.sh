#!/usr/bin/env bash
# Wall time of `korvadex-cli devices` as a whole process (start-up, the
# driver's loading, the list, the output) with 8 emulated FTDI devices on the
# virtual board's drop-in library, or with DRIVER=libftdi on the libusb
# stand-in: the mean and the slowest of N runs, after one run to warm the
# file cache.
# Target: under 100 ms.
#
#   [DRIVER=d2xx|libftdi] bench/cli/devices_time.sh [preset] [runs]
set -euo pipefail
bench=devices_time
runs="${2:-20}"
source "$(dirname "$0")/drop_in.sh"

export KORVADEX_SIM_DEVICES="cable:silent,KVX0001:board,loop:echo,KVX0002:board,KVX0003:board,prog:silent,KVX0004:board,KVX0005:board:busy"
[ "$("$program" devices | wc -l)" -eq 8 ] || { echo "devices_time: 8 devices not listed" >&2; exit 1; }

times=()
for _ in $(seq "$runs"); do
  start=$(date +%s%N)
  "$program" devices >/dev/null
  times+=($(( $(date +%s%N) - start )))
done
printf '%s\n' "${times[@]}" | awk -v runs="$runs" -v driver="$driver" '
  { sum += $1; if ($1 > worst) worst = $1 }
  END { mean = sum / NR / 1e6; printf "devices_time (%s): 8 devices, %d runs: mean %.1f ms, slowest %.1f ms (target < 100 ms)\n", driver, runs, mean, worst / 1e6; exit !(mean < 100) }'
