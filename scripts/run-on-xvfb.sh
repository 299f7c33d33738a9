#!/usr/bin/env bash
# Runs a shell snippet under a virtual X server (Xvfb) beside the real
# program on the virtual board, for the screenshot and the idle benchmark.
#
#   scripts/run-on-xvfb.sh <build dir> '<snippet>'
#
# The snippet runs after korvadex has started, with $program its process id;
# the program is ended when the snippet ends. The program gets a guard folder
# of its own, so a copy already running on this desktop does not turn it away.
set -euo pipefail
build="$(realpath "$1")"
snippet="$2"

runtime="$(mktemp -d)"
trap 'rm -rf "$runtime"' EXIT
chmod 700 "$runtime"

export KORVADEX_BIN="$build/app/korvadex" XDG_RUNTIME_DIR="$runtime" KORVADEX_SNIPPET="$snippet"
export LD_LIBRARY_PATH="$build/sim/d2xx${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH}"
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  set -euo pipefail
  "$KORVADEX_BIN" &
  program=$!
  trap "kill $program 2>/dev/null || true" EXIT
  eval "$KORVADEX_SNIPPET"
'
