#!/usr/bin/env bash
# The log window on a long 125 ksps CH0 HDF5 log with its summaries, made by
# long_log_maker (the program's own log writer) in a temporary folder (or
# LOG_DIR) and removed after; never stored, never made by CI. A day is
# 10.8 G samples and about 14 GB; it takes some minutes to make.
# Targets: first picture < 300 ms, each zoom or pan step < 50 ms, peak RSS
# < 300 MB, the figures of an hour (450 M samples) at >= 20 M samples/s.
#
#   bench/app/log_window_bench.sh [preset] [seconds of log, default 86400]
set -euo pipefail
cd "$(dirname "$0")/../.."
preset="${1:-default}"
seconds="${2:-86400}"
build="build/$preset"
cmake --build "$build" --target long_log_maker log_window_bench -j2 >/dev/null
folder="$(mktemp -d "${LOG_DIR:-${TMPDIR:-/tmp}}/log-window-bench.XXXXXX")"
trap 'rm -rf "$folder"' EXIT
log="$folder/day.h5"
/usr/bin/time -f "  made in %e s" "$build/bench/cli/long_log_maker" "$log" "$seconds"
echo "  $(du -h "$log" | cut -f1) on disk"
"$build/bench/app/log_window_bench" "$log"
