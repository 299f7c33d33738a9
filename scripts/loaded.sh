#!/usr/bin/env bash
# Runs a command on a loaded machine: beside BUSY busy loops (default four),
# stopped when the command ends, however it ends. For proving that what
# passes on a quiet machine passes on a busy one too.
#
#   bash scripts/loaded.sh [BUSY] COMMAND [ARG...]
set -euo pipefail
busy=4
if [[ "${1:-}" =~ ^[0-9]+$ ]]; then busy="$1"; shift; fi
[ $# -gt 0 ] || { echo "usage: loaded.sh [BUSY] COMMAND [ARG...]" >&2; exit 2; }
loops=()
stop_loops() { [ ${#loops[@]} -eq 0 ] || kill "${loops[@]}" 2>/dev/null || true; }
trap stop_loops EXIT
for _ in $(seq "$busy"); do
  (while :; do :; done) &
  loops+=($!)
done
echo "loaded.sh: $busy busy loops beside: $*" >&2
start=$SECONDS
status=0
"$@" || status=$?
echo "loaded.sh: the command ended with $status after $((SECONDS - start)) s" >&2
exit "$status"
