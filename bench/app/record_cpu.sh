#!/usr/bin/env bash
# Processor time of a recording at 125 ksps CH0 from the window, against
# korvadex-cli log alone on the same run, both on the virtual board at real
# speed. The window (under Xvfb) records through the record dialog; its own
# threads and the companion's are summed from /proc (schedstat) over the same
# stretch of time, after the recording has settled. The board's simulation
# runs inside the companion in both, so the difference is the window's.
#
#   bench/app/record_cpu.sh [preset] [seconds]
set -euo pipefail
cd "$(dirname "$0")/../.."
preset="${1:-default}"
seconds="${2:-20}"
build="$(realpath "build/$preset")"
[ -x "$build/app/korvadex" ] || { echo "record_cpu: build $build/app/korvadex first" >&2; exit 1; }

folder="$(mktemp -d)"
trap 'rm -rf "$folder"' EXIT
mkdir -p "$folder/Documents"
export HOME="$folder" SECONDS_TAKEN="$seconds"
# Nanoseconds on a processor of every thread of the processes given.
export CPU_NS='on_cpu_ns() { for pid in "$@"; do cat /proc/$pid/task/*/schedstat; done 2>/dev/null | awk "{ sum += \$1 } END { printf \"%d\", sum }"; }'
eval "$CPU_NS"

LD_LIBRARY_PATH="$build/sim/d2xx" "$build/cli/korvadex-cli" log --rate 125ksps --channel 0 --filter sinc5 \
  -o "$folder/alone.h5" --duration $((seconds + 8)) >/dev/null 2>&1 &
alone=$!
sleep 5
before=$(on_cpu_ns "$alone")
sleep "$seconds"
after=$(on_cpu_ns "$alone")
wait "$alone"
companion_ns=$((after - before))

window_ns="$(scripts/run-on-xvfb.sh "$build" '
  eval "$CPU_NS"
  window="$(scripts/find-window.sh "KORVADEX / v2.00")"
  sleep 1
  # ComboBox1 to its last item, "125ksps"; then "ファイル", "記録", start.
  xdotool mousemove --window "$window" 680 60 click 1
  sleep 0.5
  xdotool key End Return
  sleep 0.5
  xdotool mousemove --window "$window" 30 8 click 1
  sleep 0.5
  xdotool key r
  scripts/find-window.sh "記録" 50 >/dev/null
  sleep 0.5
  xdotool key Return
  sleep 5
  child="$(pgrep -P "$program" korvadex-cli)"
  before=$(on_cpu_ns "$program" "$child")
  sleep "$SECONDS_TAKEN"
  after=$(on_cpu_ns "$program" "$child")
  echo "recorded: $(cat /proc/$child/cmdline | tr "\0" " ")" >&2
  echo $((after - before))
' 2>"$folder/xvfb.err" | tail -n 1)" || { cat "$folder/xvfb.err" >&2; exit 1; }

grep "^recorded:" "$folder/xvfb.err" || true
awk -v w="$window_ns" -v c="$companion_ns" -v s="$seconds" 'BEGIN {
  printf "record_cpu: window + companion %.2f %% of one core, companion alone %.2f %% (%d s at 125 ksps CH0); the window adds %.2f %%\n",
         100 * w / 1e9 / s, 100 * c / 1e9 / s, s, 100 * (w - c) / 1e9 / s }'
