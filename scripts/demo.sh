#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program on the virtual
# board: the build's drop-in libftd2xx.so goes first on the loader path, so the
# program's own loading code finds the virtual board instead of a real one.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default -j "$(nproc)" --target korvadex korvadex_sim_d2xx

export LD_LIBRARY_PATH="$PWD/build/default/sim/d2xx${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH}"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "demo: no display; starting under Xvfb (scripts/screenshot.sh takes a picture of the window)" >&2
  exec xvfb-run -a -s "-screen 0 1280x1024x24" build/default/app/korvadex
fi
exec build/default/app/korvadex
