#!/usr/bin/env bash
# Installs what is missing, builds with the given CMake preset (default:
# "default") and runs the whole test suite with ctest.
set -euo pipefail
cd "$(dirname "$0")/.."
preset="${1:-default}"

bash scripts/install-deps.sh
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" -j "$(nproc)"
ctest --preset "$preset" -j "$(nproc)"
