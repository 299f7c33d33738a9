#!/usr/bin/env bash
# Runs every fuzz target for the given minutes under libFuzzer, each under a
# memory limit of 512 MB and a time limit of 5 s an input, two at a time.
# The corpora are copied into a work folder first, so the tree stays as it
# is; what a target finds lands in OUT/TARGET/ (crash-*, oom-*, timeout-*),
# to be added to that target's corpus in fuzz/ as a regression case. Prints
# each target's executions and findings.
#
#   bash bench/fuzz/run-all.sh MINUTES [OUT]
set -euo pipefail
cd "$(dirname "$0")/../.."
minutes="${1:?minutes per target}"
out="$(realpath -m "${2:-build/fuzz-runs}")"

bash scripts/install-deps.sh
cmake --preset clang >/dev/null
targets=(data_load_fuzz text_log_fuzz hdf5_log_fuzz)
corpora=(fuzz/data/corpus fuzz/log/text-corpus fuzz/log/hdf5-corpus)
cmake --build --preset clang -j "$(nproc)" --target "${targets[@]}"

run_one() {
  local target="$1" corpus="$2" folder="$out/$1"
  rm -rf "$folder" && mkdir -p "$folder/corpus" "$folder/found"
  cp "$corpus"/* "$folder/corpus/"
  local program
  program="$(find build/clang/fuzz -type f -name "$target" -perm -u+x | head -n 1)"
  "$program" -max_total_time=$((minutes * 60)) -rss_limit_mb=512 -timeout=5 \
    -artifact_prefix="$folder/found/" -print_final_stats=1 "$folder/corpus" >"$folder/log.txt" 2>&1 || true
}

pids=()
for i in "${!targets[@]}"; do
  run_one "${targets[$i]}" "${corpora[$i]}" &
  pids+=($!)
  if [ ${#pids[@]} -ge "$(nproc)" ]; then
    wait "${pids[0]}"
    pids=("${pids[@]:1}")
  fi
done
wait

status=0
for target in "${targets[@]}"; do
  folder="$out/$target"
  runs="$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$folder/log.txt" | grep -o '[0-9]*$' || echo '?')"
  found="$(find "$folder/found" -type f | wc -l)"
  echo "$target: $runs executions in $minutes min, $found finding(s) in $folder/found"
  [ "$found" -eq 0 ] || status=1
done
exit "$status"
