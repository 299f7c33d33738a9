"""korvadex-cli log's HDF5 form read with h5py: the same log as the text
form, and readable while it is written (SWMR)."""

import subprocess
import time

import h5py
import numpy
import pytest

from conftest import CLI, cli, sim_env

LOG = ["log", "--rate", "10ksps", "--filter", "sinc5"]


def text_log(path):
    """The text log's comments and per run its codes, one column per channel."""
    comments, runs = [], {}
    for line in path.read_text().splitlines():
        if line.startswith("#"):
            if line.strip("# "):
                comments.append(line[2:])
            continue
        fields = line.split(",")
        if fields[0] == "time":
            continue
        runs.setdefault(int(fields[1]), []).append([int(code) for code in fields[3::2]])
    return comments, {run: numpy.array(codes) for run, codes in runs.items()}


def test_a_seeded_log_holds_the_same_in_hdf5_as_in_text(tmp_path):
    env = sim_env(SPEED=20)
    cli(*LOG, "--channel", "2", "--runs", "2", "-o", str(tmp_path / "log.csv"), env=env)
    cli(*LOG, "--channel", "2", "--runs", "2", "-o", str(tmp_path / "log.h5"), env=env)
    comments, text_runs = text_log(tmp_path / "log.csv")
    with h5py.File(tmp_path / "log.h5", "r") as log:
        assert log.attrs["format"] == "korvadex-log"
        assert "board: " + log.attrs["board"] in comments
        assert "settings: " + log.attrs["settings"] in comments
        assert (log.attrs["rate_item"], log.attrs["channel_mode"], log.attrs["filter"]) == (11, 2, 1)
        assert log["codes"].attrs["channels"] == "ch0,ch1"
        runs = log["runs"][:]
        assert [int(run) for run in runs["run"]] == sorted(text_runs)
        assert list(runs["end"]) == [b"complete", b"complete"]
        for row in runs:
            first, count = int(row["first_sample"]), int(row["samples"])
            numpy.testing.assert_array_equal(log["codes"][first:first + count], text_runs[int(row["run"])])
        # The gaps are measured, so only their number and words match.
        kinds = [event["kind"] for event in log["events"][:]]
        assert kinds == [b"gap", b"end"]
        assert log["events"][0]["text"].decode().startswith("gap: ")
        assert len([c for c in comments if c.startswith("gap: ")]) == 1


def test_a_reader_sees_whole_runs_while_the_log_is_written(tmp_path):
    path = tmp_path / "live.h5"
    env = sim_env(SPEED=4, COUNTER=1, COUNTER_START=5)
    writer = subprocess.Popen([CLI, *LOG, "--channel", "0", "--runs", "3", "-o", str(path)], env=env,
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        while not path.exists() or path.stat().st_size == 0:
            time.sleep(0.05)
        time.sleep(0.3)  # the head and datasets are made before SWMR writing starts
        ended_seen_while_running = 0
        with h5py.File(path, "r", swmr=True) as log:
            codes, runs = log["codes"], log["runs"]
            while writer.poll() is None:
                runs.refresh()
                codes.refresh()
                for row in runs[:]:
                    first, count = int(row["first_sample"]), int(row["samples"])
                    if row["end"] == b"running":
                        count = codes.shape[0] - first
                    run = codes[first:first + count]
                    assert len(run) == count
                    numpy.testing.assert_array_equal(run, numpy.arange(5, 5 + count))
                    if row["end"] == b"complete":
                        assert count == 100000
                        ended_seen_while_running += 1
                time.sleep(0.2)
        assert ended_seen_while_running > 0
    finally:
        writer.wait(timeout=60)
    assert writer.returncode == 0
