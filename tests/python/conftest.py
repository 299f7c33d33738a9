"""Shared helpers: the companion as the reference, and runs on the virtual
board in processes of their own (the drop-in library reads its settings
once per process, and the loader path is read at process start)."""

import json
import os
import subprocess
import sys
import textwrap

import pytest

CLI = os.environ["KORVADEX_CLI"]
SIM_D2XX = os.environ["KORVADEX_SIM_D2XX"]
# The driver paths a board can be reached on: the drop-in D2XX library, and
# libftdi on the libusb stand-in where the build has it.
DRIVER_PATHS = {"d2xx": SIM_D2XX}
if os.environ.get("KORVADEX_SIM_USB"):
    DRIVER_PATHS["libftdi"] = os.environ["KORVADEX_SIM_USB"]


def cli(*args, env=None):
    """korvadex-cli's standard output; it must succeed."""
    return subprocess.run([CLI, *args], check=True, capture_output=True, text=True, env=env).stdout


def sim_env(library=SIM_D2XX, **settings):
    """The environment of a process on the virtual board, reached through
    the driver in the folder `library`."""
    env = dict(os.environ, LD_LIBRARY_PATH=library, KORVADEX_SIM_SEED="7")
    env.update({f"KORVADEX_SIM_{name.upper()}": str(value) for name, value in settings.items()})
    return env


def on_board(script, language="ja", library=SIM_D2XX, **settings):
    """Runs script with `korvadex` imported on the virtual board, its texts
    in the given language; the script prints one JSON value as its last
    line, which is returned."""
    code = "import json, korvadex\n" + textwrap.dedent(script)
    done = subprocess.run([sys.executable, "-c", code], capture_output=True, text=True,
                          env=dict(sim_env(library, **settings), KORVADEX_LANG=language), timeout=120)
    assert done.returncode == 0, done.stderr
    return json.loads(done.stdout.strip().splitlines()[-1])


@pytest.fixture(scope="session")
def measured(tmp_path_factory):
    """Files saved by the companion's measure (the window's file class), one
    per channel mode: 10000 samples (pairs) at 125 ksps on the virtual board."""
    folder = tmp_path_factory.mktemp("measured")
    files = {}
    for channel in (0, 1, 2):
        path = folder / f"ch{channel}.DTA"
        cli("measure", "--rate", "125ksps", "--count", "10000", "--channel", str(channel),
            "--filter", "sinc5", "-o", str(path), env=sim_env(CH0_SINE_UV=20, CH0_SINE_HZ=1000))
        files[channel] = path
    return files


def info_json(path):
    return json.loads(cli("info", "--json", str(path)))


def report_json(path):
    return json.loads(cli("report", "--json", str(path)))


def write_log(path, codes, channel_mode=2, runs=None, codes_dtype="<i4"):
    """A long-term log written with h5py in the program's HDF5 layout: the
    root's attributes, /codes ((n,) or (n, 2), chunked, shuffle + deflate),
    /runs (by default one complete run over all of the codes) and /events
    (empty). Settings: 125ksps, Sinc5+Sinc1."""
    import h5py
    import numpy

    def text(length):
        return h5py.string_dtype("utf-8", length)

    run_type = numpy.dtype([("run", "<i4"), ("start", text(24)), ("first_sample", "<i8"),
                            ("samples", "<i8"), ("end", text(16))])
    event_type = numpy.dtype([("time", text(24)), ("kind", text(16)), ("run", "<i4"),
                              ("seconds", "<f8"), ("text", text(160))])
    runs = runs or [(1, b"2026-12-08T21:40:12.345Z", 0, len(codes), b"complete")]
    names = {0: "CH0 (Ain0-Ain1)", 1: "CH1 (Ain2-Ain3)", 2: "CH0 + CH1"}
    with h5py.File(path, "w", libver="latest") as file:
        file.attrs.update({
            "format": "korvadex-log", "format_version": numpy.int32(1),
            "program": "korvadex-cli log", "program_version": "2.0.0",
            "board": "KORVADEX / V1.00", "board_serial": "KVX0009",
            "settings": f"125ksps, 100000, {names[channel_mode]}, Sinc5+Sinc1",
            "started": "2026-12-08T21:40:12.345Z",
            "rate_item": numpy.int32(16), "count_item": numpy.int32(9),
            "channel_mode": numpy.int32(channel_mode), "filter": numpy.int32(1),
            "sample_rate_hz": 62500.0 if channel_mode == 2 else 125000.0,
            "gain_divisor": numpy.int32(1), "mid_scale": numpy.int32(8388608),
            "reference_uV": 2500000.0, "code_steps": numpy.int32(8388607),
        })
        columns = codes.shape[1:]
        dataset = file.create_dataset("codes", data=codes.astype(codes_dtype), maxshape=(None,) + columns,
                                      chunks=(16384,) + columns, shuffle=True, compression="gzip",
                                      compression_opts=1)
        dataset.attrs["channels"] = {0: "ch0", 1: "ch1", 2: "ch0,ch1"}[channel_mode]
        file.create_dataset("runs", data=numpy.array(runs, dtype=run_type), maxshape=(None,), chunks=(64,))
        file.create_dataset("events", shape=(0,), dtype=event_type, maxshape=(None,), chunks=(64,))
    return path
