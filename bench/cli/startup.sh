#!/usr/bin/env bash
# Start-up as whole processes, medians of paired runs (each round runs every
# command once, in turn, so a busy moment of the machine falls on all alike):
#   - korvadex-cli --version;
#   - korvadex-cli info on a 100000-pair ".DTA" (made on the drop-in library)
#     against a plain Python parse of the same file (read, split, int);
#   - the window (bench/app/first_paint: the program's own start-up) from
#     the process's start to its first paint, under Xvfb;
#   - and, as the floor under them all, a process that loads Qt Core and
#     does nothing (bench/cli/qt_core_start).
# Targets: --version < 10 ms; info >= 10x the Python parse; first paint
# < 300 ms.
#
#   [BEFORE=old/korvadex-cli] bench/cli/startup.sh [preset] [rounds]
#
# BEFORE adds the rows of an older korvadex-cli, and of the window with the
# libraries it loaded at start before they moved into modules (HDF5 and its
# chain, preloaded).
set -euo pipefail
bench=startup
source "$(dirname "$0")/drop_in.sh"
rounds="${2:-21}"
first_paint="$build/bench/app/first_paint"
core_start="$build/bench/cli/qt_core_start"
for tool in "$first_paint" "$core_start"; do
  [ -x "$tool" ] || { echo "$bench: build $tool first" >&2; exit 1; }
done

folder="$(mktemp -d)"
trap 'rm -rf "$folder"' EXIT
chmod 700 "$folder"
KORVADEX_SIM_SEED=1 "$program" measure --rate 125ksps --count 100000 --channel 2 --filter sinc5 \
  -o "$folder/run.DTA" >/dev/null
cat > "$folder/parse.py" <<'PY'
import sys
ch0, ch1 = [], []
with open(sys.argv[1], encoding="ascii") as file:
    for line in file:
        if line.strip() == "D:":
            break
    for line in file:
        line = line.strip()
        if line == "DEND:":
            break
        a, b = line.split(",")
        ch0.append(int(a))
        ch1.append(int(b))
assert len(ch0) == 100000
PY

export BEFORE="${BEFORE:-}" PROGRAM="$program" FIRST_PAINT="$first_paint" CORE_START="$core_start" FOLDER="$folder" ROUNDS="$rounds" XDG_RUNTIME_DIR="$folder"
xvfb-run -a -s "-screen 0 1024x768x24" /usr/bin/python3 - <<'PY'
import os, statistics, subprocess, time

program, folder, rounds = os.environ["PROGRAM"], os.environ["FOLDER"], int(os.environ["ROUNDS"])
dta = os.path.join(folder, "run.DTA")

def whole(command):
    began = time.perf_counter()
    subprocess.run(command, check=True, stdout=subprocess.DEVNULL)
    return (time.perf_counter() - began) * 1000

def first_paint(environment=None):
    began = time.time_ns()
    out = subprocess.run([os.environ["FIRST_PAINT"]], check=True, capture_output=True, text=True, timeout=30,
                         env=environment).stdout
    return (int(out.split()[-1]) - began) / 1e6

commands = {
    "--version": lambda: whole([program, "--version"]),
    "info": lambda: whole([program, "info", dta]),
    "python parse": lambda: whole(["/usr/bin/python3", os.path.join(folder, "parse.py"), dta]),
    "first paint": first_paint,
    "Qt Core alone": lambda: whole([os.environ["CORE_START"]]),
}
before = os.environ["BEFORE"]
if before:
    preloaded = dict(os.environ, LD_PRELOAD="libhdf5_serial.so.103")
    commands.update({
        "--version before": lambda: whole([before, "--version"]),
        "info before": lambda: whole([before, "info", dta]),
        "first paint before": lambda: first_paint(preloaded),
    })
times = {name: [] for name in commands}
for _ in range(rounds):
    for name, run in commands.items():
        times[name].append(run())
median = {name: statistics.median(values) for name, values in times.items()}
for name, value in median.items():
    print(f"startup: {name:18} median {value:7.2f} ms of {rounds}")
for name in ("info", "info before"):
    if name in median:
        print(f"startup: {name} is {median['python parse'] / median[name]:.1f}x the Python parse (target >= 10x)")
print("startup: targets --version < 10 ms, first paint < 300 ms")
PY
