"""A text log read by eight threads at once, two ways: through one Log,
whose reads take turns on its one file handle, and through one Log per
thread, each with a handle of its own (what a reader per thread would
cost: every Log reads the file through once on opening). The log, 3 M
samples of CH0 at 125 ksps written by korvadex-cli log on the virtual
board, is made in a temporary folder and removed after.

    PYTHONPATH=build/default/python python3 bench/python/text_log_threads.py [build/default]
"""

import concurrent.futures
import os
import pathlib
import subprocess
import sys
import tempfile
import time

import numpy

import korvadex

THREADS = 8
RUNS = 30  # of 100000 samples


def timed(work):
    start = time.perf_counter()
    result = work()
    return time.perf_counter() - start, result


def main():
    build = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else "build/default").resolve()
    with tempfile.TemporaryDirectory() as folder:
        path = pathlib.Path(folder) / "big.csv"
        env = dict(os.environ, LD_LIBRARY_PATH=str(build / "sim" / "d2xx"), KORVADEX_SIM_SPEED="50")
        subprocess.run([str(build / "cli" / "korvadex-cli"), "log", "--rate", "125ksps", "--channel", "0",
                        "--filter", "sinc5", "--runs", str(RUNS), "-o", str(path)], env=env, check=True,
                       capture_output=True)
        opened, shared = timed(lambda: korvadex.open_log(path))
        whole = shared.codes[:]
        size = len(whole) // THREADS + 1
        starts = range(0, len(whole), size)
        with concurrent.futures.ThreadPoolExecutor(THREADS) as pool:
            turns, parts = timed(lambda: list(pool.map(lambda a: shared.codes[a:a + size], starts)))
            assert numpy.array_equal(numpy.concatenate(parts), whole)
            own, parts = timed(lambda: list(pool.map(lambda a: korvadex.open_log(path).codes[a:a + size], starts)))
            assert numpy.array_equal(numpy.concatenate(parts), whole)
        print(f"{len(whole)} samples, opened in {opened:.2f} s")
        print(f"one Log, reads taking turns: {turns:.2f} s")
        print(f"one Log per thread:          {own:.2f} s (each opening reads the file through)")


if __name__ == "__main__":
    main()
