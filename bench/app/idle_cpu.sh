#!/usr/bin/env bash
# Processor time of an idle korvadex window: the real program is started
# under Xvfb on the virtual board, left alone for a few seconds to settle, and
# the time its threads spent on a processor over the next 10 seconds is read
# from /proc (schedstat, in nanoseconds).
# Target: under 1 % of one core.
#
#   bench/app/idle_cpu.sh [preset] [seconds]
set -euo pipefail
cd "$(dirname "$0")/../.."
preset="${1:-default}"
seconds="${2:-10}"
build="build/$preset"
[ -x "$build/app/korvadex" ] || { echo "idle_cpu: build $build/app/korvadex first" >&2; exit 1; }

export SECONDS_IDLE="$seconds"
scripts/run-on-xvfb.sh "$build" '
  on_cpu_ns() { cat /proc/$program/task/*/schedstat | awk "{ sum += \$1 } END { printf \"%d\", sum }"; }
  sleep 3
  before=$(on_cpu_ns)
  sleep "$SECONDS_IDLE"
  after=$(on_cpu_ns)
  awk -v ns=$((after - before)) -v s="$SECONDS_IDLE" \
    "BEGIN { p = 100 * ns / 1e9 / s; printf \"idle_cpu: %.3f ms on a processor in %d s = %.3f %% of one core (target < 1 %%)\n\", ns / 1e6, s, p; exit !(p < 1) }"
'
