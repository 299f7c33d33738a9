#!/usr/bin/env bash
# Prints the id of the X window titled exactly TITLE once it appears, trying
# every 0.1 s for at most TRIES times (default 100); fails when it does not.
#
#   scripts/find-window.sh TITLE [TRIES]
set -euo pipefail
title="$1"
tries="${2:-100}"
for _ in $(seq "$tries"); do
  window="$(xwininfo -root -tree | awk -v title="\"$title\"" 'index($0, title) { print $1; exit }')"
  if [ -n "$window" ]; then
    echo "$window"
    exit 0
  fi
  sleep 0.1
done
echo "find-window: no window titled \"$title\" appeared" >&2
exit 1
