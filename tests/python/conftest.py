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
