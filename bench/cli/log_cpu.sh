#!/usr/bin/env bash
# The program's own processor time while it logs at 125 ksps, with the
# virtual board in a process of its own (KORVADEX_SIM_PROCESS=1), so that
# only korvadex-cli is counted: the time its threads spent on a processor
# (/proc/PID/task/*/schedstat) over a steady stretch, after its start.
# Every row: the drop-in D2XX library and the libusb stand-in (libftdi
# driver), to text and to HDF5, CH0 and CH0 + CH1; then 8 boards logging at
# once, one korvadex-cli each, all of them summed.
# Targets: <= 1 % of a core for one board at 125 ksps CH0; <= 10 % for 8.
#
#   bench/cli/log_cpu.sh [preset] [seconds]
set -euo pipefail
bench=log_cpu
seconds="${2:-10}"
source "$(dirname "$0")/drop_in.sh"
export KORVADEX_SIM_PROCESS=1 KORVADEX_SIM_SEED=1
folder="$(mktemp -d)"
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$folder"' EXIT

on_cpu_ns() {
  local sum=0 pid
  for pid in "$@"; do
    sum=$((sum + $(cat /proc/"$pid"/task/*/schedstat 2>/dev/null | awk '{ s += $1 } END { printf "%d", s }')))
  done
  echo "$sum"
}

# Starts the logs given as "SERIAL FILE CHANNEL" words, measures their
# threads over $seconds after two seconds of settling, and prints the share.
measure() {
  local pids=() serial file channel
  while [ $# -gt 0 ]; do
    serial=$1 file=$2 channel=$3
    shift 3
    "$program" log --board "$serial" --rate 125ksps --channel "$channel" --filter sinc5 -o "$file" --force \
      --duration $((seconds + 4)) >/dev/null 2>&1 &
    pids+=($!)
  done
  sleep 2
  local before after
  before=$(on_cpu_ns "${pids[@]}")
  sleep "$seconds"
  after=$(on_cpu_ns "${pids[@]}")
  wait "${pids[@]}"
  awk -v ns=$((after - before)) -v s="$seconds" 'BEGIN { printf "%.2f", 100 * ns / 1e9 / s }'
}

for path in d2xx libftdi; do
  case "$path" in
    d2xx) export LD_LIBRARY_PATH="$build/sim/d2xx" ;;
    libftdi) export LD_LIBRARY_PATH="$build/sim/usb" ;;
  esac
  export KORVADEX_SIM_DEVICES="KVX0001:board"
  for form in csv h5; do
    for channel in 0 2; do
      name=$([ "$channel" = 0 ] && echo "CH0" || echo "CH0 + CH1")
      echo "log_cpu ($path): 125 ksps $name to .$form: $(measure KVX0001 "$folder/log.$form" "$channel") % of a core"
    done
  done
done

export LD_LIBRARY_PATH="$build/sim/d2xx"
export KORVADEX_SIM_DEVICES="KVX0001:board,KVX0002:board,KVX0003:board,KVX0004:board,KVX0005:board,KVX0006:board,KVX0007:board,KVX0008:board"
for form in csv h5; do
  boards=()
  for n in 1 2 3 4 5 6 7 8; do
    boards+=("KVX000$n" "$folder/board$n.$form" 0)
  done
  echo "log_cpu (d2xx): 8 boards at 125 ksps CH0 to .$form, all 8 programs: $(measure "${boards[@]}") % of a core (target <= 10 %)"
done
