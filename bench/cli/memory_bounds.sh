#!/bin/bash
# Peak resident memory of korvadex-cli info, report --json and export on
# logs whose size is set by what they hold, not by the machine: a day's run
# table (108 000 runs), a week's (800 000 runs), a signal sweeping every
# code of both channels, and the hostile files of a foreign writer (codes
# no converter gives, a run table that declares 10^12 rows). Target: each
# under 256 MB. The logs are written with h5py in a temporary folder (or
# LOG_DIR) and removed after; never made by CI.
#
# usage: bench/cli/memory_bounds.sh [preset]
set -euo pipefail
preset=${1:-default}
root=$(cd "$(dirname "$0")/../.." && pwd)
build="$root/build/$preset"
cmake --build "$build" --target korvadex-cli -j2 >/dev/null
folder=$(mktemp -d "${LOG_DIR:-/tmp}/korvadex-memory.XXXXXX")
trap 'rm -rf "$folder"' EXIT

KORVADEX_CLI=none KORVADEX_SIM_D2XX=none PYTHONPATH="$root/tests/python" /usr/bin/python3 - "$folder" <<'PY'
import sys

import h5py
import numpy

from conftest import write_log

folder = sys.argv[1]


def runs_of(count, each):
    runs = numpy.zeros(count, dtype=[("run", "<i4"), ("start", "S24"), ("first_sample", "<i8"),
                                     ("samples", "<i8"), ("end", "S16")])
    runs["run"] = numpy.arange(1, count + 1)
    runs["start"] = b"2026-12-08T21:40:12.345Z"
    runs["first_sample"] = numpy.arange(count) * each
    runs["samples"] = each
    runs["end"] = b"stopped"
    return runs.tolist()


rng = numpy.random.default_rng(5)
for name, count, each in (("day", 108_000, 10), ("week", 800_000, 2)):
    codes = (8388608 + rng.integers(-8, 8, count * each)).astype(numpy.int32)
    write_log(f"{folder}/{name}.h5", codes, channel_mode=0, runs=runs_of(count, each))
sweep = numpy.empty((1 << 24, 2), numpy.int32)
sweep[:, 0] = numpy.arange(1 << 24)
sweep[:, 1] = sweep[::-1, 0]
write_log(f"{folder}/sweep.h5", sweep)
foreign = (8388608 + rng.integers(-8, 8, 100_000)).astype(numpy.int32)
foreign[[10, 20]] = [-1, 2147483647]
write_log(f"{folder}/foreign.h5", foreign, channel_mode=0)
write_log(f"{folder}/huge-runs.h5", numpy.full(1000, 8388608, numpy.int32), channel_mode=0)
with h5py.File(f"{folder}/huge-runs.h5", "r+") as file:
    row = file["runs"].dtype
    del file["runs"]
    file.create_dataset("runs", shape=(10**12,), dtype=row, maxshape=(None,), chunks=(64,))
PY

status=0
for log in day week sweep foreign huge-runs; do
    for command in "info" "report --json" "export"; do
        # shellcheck disable=SC2086
        /usr/bin/time -f "%e %M" -o "$folder/time" "$build/cli/korvadex-cli" $command "$folder/$log.h5" \
            >/dev/null 2>"$folder/err" && result=ok || result="exit $?: $(tail -n 1 "$folder/err" | cut -c1-90)"
        read -r wall rss <<<"$(tail -n 1 "$folder/time")"
        verdict=$(awk -v r="$rss" 'BEGIN { print (r / 1024 < 256 ? "under" : "OVER") }')
        [ "$verdict" = under ] || status=1
        printf '%-10s %-14s %6.1f s  peak RSS %6.1f MB (%s 256)  %s\n' "$log" "$command" "$wall" \
            "$(awk -v r="$rss" 'BEGIN { print r / 1024 }')" "$verdict" "$result"
    done
done
exit "$status"
