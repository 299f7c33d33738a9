#!/usr/bin/env bash
# `korvadex-cli log` to HDF5 against the text log, on the same runs of the
# virtual board's drop-in library at its default noise, as a whole process:
#  1. Bytes a sample (pair): the file's size over the samples it holds, at
#     125 ksps CH0 (5 runs) and CH0 + CH1 (2 runs, 15.5 k pairs a second
#     after the converter's settling). Target: HDF5 at most 3 bytes a sample.
#  2. Processor time, user + sys over wall, of the whole process. Most of it
#     is the board's reading and the virtual board itself, which the text
#     log pays alike; with perf installed, the share of the process's
#     samples in HDF5 and zlib gives the HDF5 writer's own part. Target: at
#     most 5 % of a core.
#  3. Growth at a slow rate, where every flush (once a second) ends inside a
#     chunk: 5 sps, bytes a sample over the middle third of the run.
#
#   bench/cli/hdf5_log_size.sh [preset] [slow-seconds, default 120]
set -euo pipefail
bench=hdf5_log_size
slow_seconds="${2:-120}"
source "$(dirname "$0")/drop_in.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
unset KORVADEX_SIM_SPEED KORVADEX_SIM_COUNTER

# $1 output, $2 channel, $3 runs: "bytes samples cpu%" of one log.
measure() {
  /usr/bin/time -f "%U %S %e" -o "$work/time" \
    "$program" log --rate 125ksps --channel "$2" --filter sinc5 -o "$1" --runs "$3" >"$work/out" 2>/dev/null
  local samples
  samples=$(sed -n 's/.*runs, \([0-9]*\) samples$/\1/p' "$work/out")
  read -r user sys wall <"$work/time"
  echo "$(stat -c %s "$1") $samples $(awk -v u="$user" -v s="$sys" -v w="$wall" 'BEGIN { printf "%.1f", 100 * (u + s) / w }')"
}

# Share of a core spent in HDF5 and zlib while logging 125 ksps CH0 to HDF5.
writer_share() {
  command -v perf >/dev/null || { echo "n/a"; return; }
  local cpu
  cpu=$(measure "$work/perf.h5" 0 5 | cut -d' ' -f3)
  rm -f "$work/perf.h5"
  perf record -q -o "$work/perf.data" "$program" log --rate 125ksps --channel 0 --filter sinc5 \
    -o "$work/perf.h5" --runs 5 >/dev/null 2>&1
  perf report -i "$work/perf.data" --no-children --sort dso -g none 2>/dev/null |
    awk -v cpu="$cpu" '/libhdf5|libz\./ { sub("%", "", $1); share += $1 } END { printf "%.2f", cpu * share / 100 }'
}

status=0
for channel in 0 2; do
  runs=$([ "$channel" = 0 ] && echo 5 || echo 2)
  read -r h5_bytes h5_samples h5_cpu < <(measure "$work/log.h5" "$channel" "$runs")
  read -r text_bytes text_samples text_cpu < <(measure "$work/log.csv" "$channel" "$runs")
  awk -v ch="$channel" -v hb="$h5_bytes" -v hs="$h5_samples" -v hc="$h5_cpu" \
      -v tb="$text_bytes" -v ts="$text_samples" -v tc="$text_cpu" 'BEGIN {
    printf "%s: 125ksps channel %s: HDF5 %.2f bytes a sample, process %.1f %% of a core; text %.1f bytes a sample, %.1f %% (target HDF5 <= 3 bytes)\n",
      "hdf5_log_size", ch, hb / hs, hc, tb / ts, tc
    exit !(hb / hs <= 3) }' || status=1
  rm -f "$work/log.h5" "$work/log.csv"
done

share=$(writer_share)
echo "hdf5_log_size: the HDF5 writer's own part (HDF5 and zlib) at 125ksps CH0: $share % of a core (target <= 5 %)"
if [ "$share" != "n/a" ]; then awk -v s="$share" 'BEGIN { exit !(s <= 5) }' || status=1; fi

"$program" log --rate 5sps --channel 0 --filter sinc5 -o "$work/slow.h5" --duration "$slow_seconds" >/dev/null 2>&1 &
pid=$!
third=$(( slow_seconds / 3 ))
sleep "$third"
early=$(stat -c %s "$work/slow.h5")
sleep "$third"
late=$(stat -c %s "$work/slow.h5")
wait "$pid"
awk -v e="$early" -v l="$late" -v t="$third" -v all="$(stat -c %s "$work/slow.h5")" 'BEGIN {
  printf "hdf5_log_size: 5sps: the file grew %d bytes in %d s of the run, %.1f bytes a sample (%d bytes in all at the end)\n", l - e, t, (l - e) / (5 * t), all }'
exit $status
