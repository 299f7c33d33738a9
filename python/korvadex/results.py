"""Test plans and the results database through the companion: the test
records of ``korvadex-cli test`` and the rows of ``korvadex-cli results``
as a pandas DataFrame."""

import datetime
import io
import json
import os
import pathlib
import shutil
import subprocess
import tempfile
import warnings

from ._errors import Error

#: Columns of ``results --csv`` read as numbers; every other column is text
#: (a serial, an operator or a step may well look like a number).
INTEGER_COLUMNS = ("repeat", "channel")
FLOAT_COLUMNS = ("value", "low", "high", "marginal_low", "marginal_high",
                 "band_low_hz", "band_high_hz")

#: Exit codes of ``korvadex-cli test`` whose verdicts are in the records:
#: every board passed, a board failed, a board could not be measured.
VERDICT_EXITS = (0, 1, 3)


def results(url=None, serial=None, plan=None, since=None):
    """What the results database holds, as ``korvadex-cli results --csv``
    gives it: a pandas DataFrame of one row per measurement, oldest run
    first, with its board, plan, station, operator, run, step and limits.

    url is ``sqlite:PATH`` or ``postgresql://USER@HOST:PORT/DBNAME``, None
    for the companion's default ``sqlite:results.sqlite`` in the current
    folder. serial, plan and since (a date or datetime, UTC when naive, or
    the companion's text "YYYY-MM-DD") choose the runs.

    ``start_utc`` holds UTC datetimes; ``value`` and the limits are floats,
    NaN where there is no limit, and a figure without a finite value (no
    spur: -inf) holds it as inf, -inf or NaN. Nothing found gives an empty
    DataFrame with the columns. Raises Error with the companion's message
    when the database cannot be read; an SQLite file that is not there is
    refused, not made.
    """
    done = run_companion("results", "--csv",
                         *options(db=url, serial=serial, plan=plan, since=since_text(since)))
    if done.returncode != 0:
        raise Error(failure(done))
    return table(done.stdout)


def run_plan(path, serials=None, db=None, station=None, operator=None, keep=None):
    """Runs the test plan PATH (.toml) on boards with ``korvadex-cli test``
    and returns its test records, one dict per board sorted by serial, as
    ``test --json`` writes them: ``dut_id`` (the serial), ``outcome``
    (PASS, MARGINAL, FAIL or ERROR), ``metadata`` (with ``run_id``), and
    ``phases``, each with its ``measurements`` by name ("ch0.rms_uV": its
    ``measured_value``, ``outcome``, ``limits``).

    serials is a serial or a list of them, all tested at once; None lets
    the companion choose the board as ``measure`` does. The records are
    stored in the results database db (as for results: None is
    ``sqlite:results.sqlite`` in the current folder); station defaults to
    the host name, operator to the login name. Each run's samples are kept
    as a .DTA file in the folder keep, by default ``korvadex-raw`` in the
    current folder.

    A board that fails or cannot be measured is a verdict, not an error:
    its record says so. Raises Error with the companion's message for a plan
    or option it refuses, and when every board passed but the database did
    not take the records. Records the database did not take stay in the
    folder the message names, for ``korvadex-cli results push``; when a
    board failed as well, that message is a warning.
    """
    serials = [serials] if isinstance(serials, str) else serials or []
    boards = [word for serial in serials for word in ("--board", serial)]
    folder = tempfile.mkdtemp(prefix="korvadex-records-")
    done = run_companion("test", os.fspath(path), *boards, "--json", folder,
                         *options(db=db, station=station, operator=operator, keep=keep))
    # The companion names the folder only when it keeps the records there
    # for a database that refused them.
    kept = folder in done.stderr
    try:
        if done.returncode not in VERDICT_EXITS:
            raise Error(failure(done))
        if kept:
            warnings.warn(done.stderr.strip(), stacklevel=2)
        return read_records(folder)
    finally:
        if not kept:
            shutil.rmtree(folder)


def companion():
    """The korvadex-cli to run: KORVADEX_CLI, else the one on PATH."""
    path = os.environ.get("KORVADEX_CLI") or shutil.which("korvadex-cli")
    if not path:
        raise Error("korvadex-cli is not found: install it or set KORVADEX_CLI")
    return path


def run_companion(*args):
    return subprocess.run([companion(), *args], capture_output=True, text=True, encoding="utf-8")


def options(**values):
    """``--name value`` for each value given."""
    return [word for name, value in values.items() if value is not None
            for word in (f"--{name}", os.fspath(value))]


def since_text(since):
    """since as the companion reads it; milliseconds, because start_utc has
    them and a start read back from it must choose its own run."""
    if isinstance(since, datetime.datetime):
        return since.isoformat(timespec="milliseconds")
    if isinstance(since, datetime.date):
        return since.isoformat()
    return since


def failure(done):
    return done.stderr.strip() or f"korvadex-cli ended with exit code {done.returncode}"


def table(csv):
    import pandas

    # Read as text first: pandas would make numbers of serials such as
    # "0042" and NaN of an operator named "NA".
    frame = pandas.read_csv(io.StringIO(csv), dtype=str, keep_default_na=False)
    frame["start_utc"] = pandas.to_datetime(frame["start_utc"], utc=True)
    for column in INTEGER_COLUMNS:
        frame[column] = frame[column].astype("int64")
    for column in FLOAT_COLUMNS:
        # An empty field is no limit; float() reads the rest, "inf", "-inf" and "NaN" among them.
        frame[column] = frame[column].replace("", "nan").astype("float64")
    return frame


def read_records(folder):
    records = [json.loads(path.read_text(encoding="utf-8"))
               for path in pathlib.Path(folder).glob("*.json")]
    return sorted(records, key=lambda record: record["dut_id"])
