# Sourced by the companion's process benchmarks: korvadex-cli of the preset
# in $1 (default "default") on the virtual board, from the top of the tree,
# with no board chosen from outside. DRIVER names the driver path: d2xx (the
# default) puts the drop-in library on the loader path, libftdi the libusb
# stand-in, under which the program falls back to its libftdi driver. $bench
# names the script.
cd "$(dirname "${BASH_SOURCE[0]}")/../.."
build="build/${1:-default}"
program="$build/cli/korvadex-cli"
driver="${DRIVER:-d2xx}"
[ -x "$program" ] || { echo "$bench: build $program first" >&2; exit 1; }
case "$driver" in
  d2xx) library="$build/sim/d2xx" target=korvadex_sim_d2xx file=libftd2xx.so ;;
  libftdi) library="$build/sim/usb" target=korvadex_sim_usb file=libusb-1.0.so.0 ;;
  *) echo "$bench: DRIVER is d2xx or libftdi, not $driver" >&2; exit 1 ;;
esac
[ -e "$library/$file" ] || { echo "$bench: build $target first" >&2; exit 1; }
export LD_LIBRARY_PATH="$library"
unset KORVADEX_BOARD
