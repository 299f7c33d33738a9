#!/bin/bash
# The block summaries' cost in a 125 ksps CH0 HDF5 log, and the speed of
# korvadex-cli index, on a log made by long_log_maker (the program's own
# writer, flushed once a run of 0.8 s) in a temporary folder (or LOG_DIR),
# removed after; never kept in the repository nor made by CI.
#  1. Bytes: /codes, /runs and /events copied (h5copy) into one file, and
#     with /summary into another; the difference over the log's size.
#     Target: at most 3 %.
#  2. Processor time of the summaries while logging: data/summary_bench,
#     a second of 125 ksps through the pyramid and appended to SWMR levels.
#     Target: at most 0.5 % of a core.
#  3. index --force on the log (the summaries built anew from the codes), as
#     a whole process: samples a second of wall and of user + sys time.
#     Target: at least 30 M samples/s on one core.
#
# usage: bench/cli/summary_cost.sh [preset] [seconds of log, default 600]
set -euo pipefail
preset=${1:-default}
seconds=${2:-600}
root=$(cd "$(dirname "$0")/../.." && pwd)
build="$root/build/$preset"
cmake --build "$build" --target korvadex-cli long_log_maker summary_bench -j1 >/dev/null
folder=$(mktemp -d "${LOG_DIR:-/tmp}/korvadex-summary-cost.XXXXXX")
trap 'rm -rf "$folder"' EXIT
log="$folder/long.h5"
samples=$(awk -v s="$seconds" 'BEGIN { printf "%d", s * 125000 }')
"$build/bench/cli/long_log_maker" "$log" "$seconds"
for object in /codes /runs /events; do
    h5copy -i "$log" -o "$folder/bare.h5" -s "$object" -d "$object"
done
cp "$folder/bare.h5" "$folder/summarised.h5"
h5copy -i "$log" -o "$folder/summarised.h5" -s /summary -d /summary
status=0
awk -v log_bytes="$(stat -c %s "$log")" -v bare="$(stat -c %s "$folder/bare.h5")" \
    -v with="$(stat -c %s "$folder/summarised.h5")" -v n="$samples" 'BEGIN {
    share = 100 * (with - bare) / log_bytes
    printf "summary_cost: %d s of 125 ksps CH0, %d bytes (%.3f bytes a sample); /summary %d bytes, %.2f %% of the log (target <= 3 %%)\n",
        n / 125000, log_bytes, log_bytes / n, with - bare, share
    exit !(share <= 3) }' || status=1

"$build/bench/data/summary_bench" --benchmark_format=csv 2>/dev/null | awk -F, '/SummariesOfALoggedSecond/ {
    cpu = $4; unit = $5; gsub(/"/, "", unit)
    scale = unit == "ns" ? 1e-9 : unit == "us" ? 1e-6 : unit == "ms" ? 1e-3 : 1
    share = 100 * cpu * scale
    printf "summary_cost: a second of 125 ksps through the pyramid and into SWMR levels: %.0f us of processor time, %.3f %% of a core (target <= 0.5 %%)\n",
        cpu * scale * 1e6, share
    exit !(share <= 0.5) }' || status=1

/usr/bin/time -f "%e %U %S" -o "$folder/time" "$build/cli/korvadex-cli" index --force "$log"
read -r wall user sys <"$folder/time"
awk -v w="$wall" -v u="$user" -v s="$sys" -v n="$samples" 'BEGIN {
    printf "summary_cost: index --force of %d samples: %.2f s wall (%.1f M samples/s), %.2f s user + sys (%.1f M samples/s of one core; target >= 30)\n",
        n, w, n / w / 1e6, u + s, n / (u + s) / 1e6
    exit !(n / w / 1e6 >= 30) }' || status=1
exit $status
