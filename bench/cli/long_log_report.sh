#!/bin/bash
# korvadex-cli report on a long 125 ksps CH0 HDF5 log, as a whole process:
# peak resident memory (target < 256 MB) and samples analysed a second
# (target >= 20 M/s on one core), for --json (figures, histogram, spectrum)
# and for a PNG page (the same and the whole trace). The log is made here
# by long_log_maker in a temporary folder (or LOG_DIR) and removed after;
# it is never kept in the repository nor made by CI.
#
# usage: bench/cli/long_log_report.sh [preset] [seconds of log, 3600 = one hour]
set -euo pipefail
preset=${1:-default}
seconds=${2:-3600}
root=$(cd "$(dirname "$0")/../.." && pwd)
build="$root/build/$preset"
cmake --build "$build" --target korvadex-cli long_log_maker -j2 >/dev/null
folder=$(mktemp -d "${LOG_DIR:-/tmp}/korvadex-long-log.XXXXXX")
trap 'rm -rf "$folder"' EXIT
log="$folder/long.h5"
samples=$(awk -v s="$seconds" 'BEGIN { printf "%d", s * 125000 }')
echo "making $log: $seconds s at 125 ksps CH0, $samples samples"
/usr/bin/time -f "  made in %e s" "$build/bench/cli/long_log_maker" "$log" "$seconds"
echo "  $(stat -c %s "$log") bytes, $(awk -v b="$(stat -c %s "$log")" -v n="$samples" 'BEGIN { printf "%.2f", b / n }') bytes a sample"
export QT_QPA_PLATFORM=offscreen
for output in "--json" "-o $folder/long.png"; do
    # shellcheck disable=SC2086
    /usr/bin/time -f "%e %U %M" -o "$folder/time" "$build/cli/korvadex-cli" report "$log" $output >/dev/null
    read -r wall user rss <"$folder/time"
    awk -v w="$wall" -v u="$user" -v r="$rss" -v n="$samples" -v o="$output" 'BEGIN {
        printf "report %s: %.1f s wall, %.1f s user, peak RSS %.0f MB, %.1f M samples/s\n",
               (o == "--json" ? "--json" : "-o PNG"), w, u, r / 1024, n / w / 1e6 }'
done
