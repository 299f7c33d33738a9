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
targets=(data_load_fuzz text_log_fuzz hdf5_log_fuzz plan_file_fuzz record_json_fuzz)
corpora=(fuzz/data/corpus fuzz/log/text-corpus fuzz/log/hdf5-corpus fuzz/plan/corpus fuzz/plan/record-corpus)
cmake --build --preset clang -j "$(nproc)" --target "${targets[@]}"

run_one() {
  local target="$1" corpus="$2" folder="$out/$1"
  rm -rf "$folder" && mkdir -p "$folder/corpus" "$folder/found"
  cp "$corpus"/* "$folder/corpus/"
  local program
  program="$(find build/clang/fuzz -type f -name "$target" -perm -u+x | head -n 1)"
  # One child process at a time that is restarted after a finding, so that
  # the run goes on for its whole time and collects every finding.
  "$program" -fork=1 -ignore_crashes=1 -ignore_timeouts=1 -ignore_ooms=1 -max_total_time=$((minutes * 60)) \
    -rss_limit_mb=512 -timeout=5 -artifact_prefix="$folder/found/" "$folder/corpus" >"$folder/log.txt" 2>&1 || true
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
  # The fork mode's last status line: "#RUNS: cov: ... exec/s: ...".
  runs="$(grep -o '^#[0-9]*: cov' "$folder/log.txt" | tail -n 1 | grep -o '[0-9]*' || echo '?')"
  found="$(find "$folder/found" -type f | wc -l)"
  echo "$target: $runs executions in $minutes min, $found finding(s) in $folder/found"
  [ "$found" -eq 0 ] || status=1
done
exit "$status"
