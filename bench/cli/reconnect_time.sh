#!/usr/bin/env bash
# `korvadex-cli log --reconnect` on the virtual board's drop-in library (or,
# with DRIVER=libftdi, on the libusb stand-in), as a whole process:
#  1. From replug to the first sample of the next run: the cable comes out
#     10000 samples into run 2 and goes back in REPLUG ms later. The replug
#     moment is the log's "board lost at" time plus REPLUG (the program sees
#     the pull within its next read, a millisecond or so); the first sample is
#     run 3's first row, stamped when its read returned; the slowest of
#     three replug times. Target: under 2 s.
#  2. CPU while waiting for a board that never comes back: the process's CPU
#     time (all its threads, /proc/PID/task/*/schedstat, in ns) over a few
#     seconds of the wait, as a share of one core. Target: under 0.5 %.
#
#   [DRIVER=d2xx|libftdi] bench/cli/reconnect_time.sh [preset] [wait-seconds]
set -euo pipefail
bench=reconnect_time
wait_seconds="${2:-5}"
source "$(dirname "$0")/drop_in.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

export KORVADEX_SIM_COUNTER=1 KORVADEX_SIM_SPEED=4
unset KORVADEX_SIM_REPLUG_AFTER_MS
log_words=(log --rate 10ksps --channel 0 --filter sinc5)
# 1. Replug to the first sample: 24 bytes of replies, run 1, the next run's two
# replies, then 10000 samples of 3 bytes. The board is looked for every 250 ms
# from the moment it was lost, so the replug falls at several places between
# two looks; the slowest counts.
latency_ms=0
for replug_ms in 1010 1130 1240; do
  KORVADEX_SIM_CABLE_PULL_AFTER=330030 KORVADEX_SIM_REPLUG_AFTER_MS=$replug_ms \
    "$program" "${log_words[@]}" -o "$work/replug.csv" --force --runs 3 --reconnect >/dev/null 2>&1
  lost=$(sed -n 's/^# board lost at \([^:]*:[^:]*:[^Z]*Z\).*/\1/p' "$work/replug.csv")
  first=$(grep -m1 '^[^#].*,3,0,' "$work/replug.csv" | cut -d, -f1)
  [ -n "$lost" ] && [ -n "$first" ] || { echo "reconnect_time: no reconnect in the log" >&2; exit 1; }
  this_ms=$(( ($(date -d "$first" +%s%3N) - $(date -d "$lost" +%s%3N)) - replug_ms ))
  echo "reconnect_time: replug ${replug_ms} ms after the loss: first sample ${this_ms} ms after the replug"
  [ "$this_ms" -gt "$latency_ms" ] && latency_ms=$this_ms
done

# 2. CPU while waiting: the cable comes out 10000 samples into run 1, for good.
KORVADEX_SIM_CABLE_PULL_AFTER=30024 "$program" "${log_words[@]}" -o "$work/gone.csv" --reconnect >/dev/null 2>&1 &
pid=$!
until grep -q '^# board lost at' "$work/gone.csv" 2>/dev/null; do sleep 0.05; done
cpu_ns() { cat /proc/"$pid"/task/*/schedstat | awk '{ sum += $1 } END { printf "%d\n", sum }'; }
before=$(cpu_ns)
start=$(date +%s%N)
sleep "$wait_seconds"
after=$(cpu_ns)
elapsed=$(( $(date +%s%N) - start ))
kill -INT "$pid"
wait "$pid" || true

awk -v driver="$driver" -v latency="$latency_ms" -v cpu=$(( after - before )) -v elapsed="$elapsed" -v seconds="$wait_seconds" 'BEGIN {
  share = 100 * cpu / elapsed
  printf "reconnect_time (%s): replug to first sample at most %d ms (target < 2000 ms); CPU while waiting %.3f %% of a core over %d s (target < 0.5 %%)\n", driver, latency, share, seconds
  exit !(latency < 2000 && share < 0.5) }'
