#!/usr/bin/env bash
# Wall time of `korvadex-cli test` as a whole process on the virtual boards
# (drop-in library, real time): a plan of three 1 ksps steps (1000, 2000 and
# 1000 samples, CH0, CH1 and CH0 + CH1) on one board, then on 8 boards at
# once. The boards run side by side, so 8 take hardly longer than the one.
# Target: 8 boards within 1.3 times the single board's time.
#
#   [DRIVER=d2xx|libftdi] bench/cli/test_boards.sh [preset]
set -euo pipefail
bench=test_boards
source "$(dirname "$0")/drop_in.sh"
folder="$(mktemp -d)"
trap 'rm -rf "$folder"' EXIT

cat >"$folder/plan.toml" <<'PLAN'
[plan]
name = "bench"
[[step]]
name = "ch0"
rate = "1ksps"
count = 1000
channel = 0
filter = "sinc5"
[step.limits]
rms_uV = { high = 20 }
[[step]]
name = "ch1"
rate = "1ksps"
count = 2000
channel = 1
filter = "sinc5"
[step.limits]
rms_uV = { high = 20 }
[[step]]
name = "pairs"
rate = "1ksps"
count = 1000
channel = 2
filter = "sinc3"
[step.limits]
pp_uV = { high = 200 }
density_uV_rtHz = { band = [10, 100], high = 1 }
PLAN

seconds_for() {
  local start=$(date +%s%N)
  KORVADEX_SIM_DEVICES="$1" "$program" test "$folder/plan.toml" --all-boards --keep "$folder/raw" >/dev/null
  echo $(( $(date +%s%N) - start ))
}

one=$(seconds_for "KVX0001:board")
eight=$(seconds_for "$(printf 'KVX000%d:board,' 1 2 3 4 5 6 7 8 | sed 's/,$//')")
awk -v one="$one" -v eight="$eight" -v driver="$driver" 'BEGIN {
  ratio = eight / one
  printf "test_boards (%s): 1 board %.2f s, 8 boards at once %.2f s: %.2f times (target <= 1.3)\n", driver, one / 1e9, eight / 1e9, ratio
  exit !(ratio <= 1.3) }'
