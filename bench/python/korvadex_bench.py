"""The korvadex Python package against what a script would do without it.

    PYTHONPATH=build/default/python python3 bench/python/korvadex_bench.py [build/default]

1. korvadex.load of a 100000-pair file against pandas.read_csv of the same
   run exported by korvadex-cli, codes and microvolts as arrays either way
   (best of twenty each): target at least 5x.
2. Board.measure of a 125 ksps CH0 + CH1 run of 100000 pairs on the
   virtual board's drop-in library, in a process of its own: processor time
   over wall time, target at most 10 % of a core (the virtual board's own
   work in its D2XX calls is counted too, as for the companion).
"""

import os
import pathlib
import subprocess
import sys
import tempfile
import time

import numpy
import pandas

import korvadex

MEASURE_SCRIPT = """
import resource, sys, time, korvadex
with korvadex.Board() as board:
    before, began = resource.getrusage(resource.RUSAGE_SELF), time.monotonic()
    run = board.measure(rate="125ksps", count=100000, channel=2, filter="sinc5")
    after, ended = resource.getrusage(resource.RUSAGE_SELF), time.monotonic()
cpu = (after.ru_utime - before.ru_utime) + (after.ru_stime - before.ru_stime)
print(len(run), ended - began, cpu)
"""


def best_of(repeats, action):
    times = []
    for _ in range(repeats):
        began = time.perf_counter()
        action()
        times.append(time.perf_counter() - began)
    return min(times)


def main():
    build = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else "build/default")
    cli = build / "cli" / "korvadex-cli"
    env = dict(os.environ, LD_LIBRARY_PATH=str(build / "sim" / "d2xx"), KORVADEX_SIM_SEED="1")
    with tempfile.TemporaryDirectory() as folder:
        dta = pathlib.Path(folder) / "run.DTA"
        csv = pathlib.Path(folder) / "run.csv"
        subprocess.run([cli, "measure", "--rate", "125ksps", "--count", "100000", "--channel", "2",
                        "--filter", "sinc5", "-o", dta], env=env, check=True, capture_output=True)
        csv.write_bytes(subprocess.run([cli, "export", dta], check=True, capture_output=True).stdout)

        def with_korvadex():
            run = korvadex.load(dta)
            return run.codes, run.microvolts

        def with_pandas():
            table = pandas.read_csv(csv)
            return (table[["ch0_code", "ch1_code"]].to_numpy(numpy.int32),
                    table[["ch0_uV", "ch1_uV"]].to_numpy(numpy.float64))

        ours, theirs = with_korvadex(), with_pandas()
        assert numpy.array_equal(ours[0], theirs[0]), "the two readings differ"
        load_s, csv_s = best_of(20, with_korvadex), best_of(20, with_pandas)
        print(f"load 100000 pairs: korvadex.load {load_s * 1e3:7.1f} ms   "
              f"pandas.read_csv {csv_s * 1e3:7.1f} ms   {csv_s / load_s:5.1f}x (target >= 5x)")

    done = subprocess.run([sys.executable, "-c", MEASURE_SCRIPT], env=env, check=True,
                          capture_output=True, text=True)
    samples, wall, cpu = done.stdout.split()
    print(f"measure 125 ksps CH0 + CH1, {samples} pairs: {float(wall):.2f} s, "
          f"processor {float(cpu):.3f} s = {100 * float(cpu) / float(wall):.1f} % of a core (target <= 10 %)")


if __name__ == "__main__":
    main()
