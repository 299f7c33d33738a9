# Sourced by the companion's process benchmarks: korvadex-cli of the preset
# in $1 (default "default") on the virtual board's drop-in library, from the
# top of the tree, with no board chosen from outside. $bench names the script.
cd "$(dirname "${BASH_SOURCE[0]}")/../.."
build="build/${1:-default}"
program="$build/cli/korvadex-cli"
[ -x "$program" ] || { echo "$bench: build $program first" >&2; exit 1; }
[ -e "$build/sim/d2xx/libftd2xx.so" ] || { echo "$bench: build korvadex_sim_d2xx first" >&2; exit 1; }
export LD_LIBRARY_PATH="$build/sim/d2xx"
unset KORVADEX_BOARD
