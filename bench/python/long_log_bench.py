"""korvadex.open_log and the Dask recipe on a long 125 ksps CH0 HDF5 log
(an hour: 450 M samples), made here by the long-log benchmark's
long_log_maker in a temporary folder (or LOG_DIR) and removed after; it is
never kept in the repository nor made by CI.

    PYTHONPATH=build/default/python python3 bench/python/long_log_bench.py [build/default] [seconds]

1. open_log(path).codes[a:b] for 1 M samples from the middle of the log,
   the log opened afresh each time (best and median of ten, at ten places
   around the middle): target < 50 ms.
2. korvadex.dask_report on a LocalCluster of two worker processes on
   127.0.0.1: wall time, samples a second, each worker's peak resident
   memory, and whether its figures are those of korvadex-cli report --json.
"""

import json
import os
import pathlib
import resource
import statistics
import subprocess
import sys
import tempfile
import time

import korvadex

SLICE = 1_000_000


def peak_rss_mb():
    return resource.getrusage(resource.RUSAGE_SELF).ru_maxrss / 1024


def slices(path, samples):
    times = []
    for k in range(10):
        first = samples // 2 + (k - 5) * 3 * SLICE
        began = time.perf_counter()
        codes = korvadex.open_log(path).codes[first:first + SLICE]
        times.append(time.perf_counter() - began)
        assert codes.shape == (SLICE,)
    print(f"open_log(...).codes[a:a + {SLICE}] from the middle: best {min(times) * 1e3:.1f} ms, "
          f"median {statistics.median(times) * 1e3:.1f} ms (target < 50 ms)")


def dask(path, samples, cli):
    from dask.distributed import Client

    with korvadex.local_cluster(workers=2) as cluster, Client(cluster) as client:
        began = time.perf_counter()
        report = korvadex.dask_report(path, client)
        wall = time.perf_counter() - began
        rss = client.run(peak_rss_mb)
    print(f"dask_report, 2 workers: {wall:.1f} s, {samples / wall / 1e6:.1f} M samples/s, peak RSS per worker "
          + ", ".join(f"{mb:.0f} MB" for mb in rss.values()))
    expected = json.loads(subprocess.run([cli, "report", "--json", path], check=True, capture_output=True,
                                         text=True).stdout)
    ours, theirs = report.json["channels"][0], expected["channels"][0]
    same = all(ours[key] == theirs[key] for key in ("count", "codes", "mean_code", "pp_noise_uV"))
    print(f"  rms noise {ours['rms_noise_uV']} µV (korvadex-cli {theirs['rms_noise_uV']}), median density "
          f"{ours['spectrum']['median_density_uV_per_rtHz']:.6g} "
          f"(korvadex-cli {theirs['spectrum']['median_density_uV_per_rtHz']:.6g}); counts and extremes "
          + ("equal" if same else "DIFFER"))


def main():
    build = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else "build/default")
    seconds = int(sys.argv[2]) if len(sys.argv) > 2 else 3600
    subprocess.run(["cmake", "--build", build, "--target", "long_log_maker", "korvadex-cli", "korvadex_python",
                    "-j2"], check=True, capture_output=True)
    with tempfile.TemporaryDirectory(prefix="korvadex-long-log.", dir=os.environ.get("LOG_DIR")) as folder:
        path = str(pathlib.Path(folder) / "long.h5")
        samples = seconds * 125000
        print(f"making {path}: {seconds} s at 125 ksps CH0, {samples} samples")
        subprocess.run([build / "bench" / "cli" / "long_log_maker", path, str(seconds)], check=True,
                       capture_output=True)
        slices(path, samples)
        dask(path, samples, build / "cli" / "korvadex-cli")


if __name__ == "__main__":
    main()
