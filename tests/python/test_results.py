"""korvadex.run_plan and korvadex.results: test plans on the virtual boards
and the results database, through the companion."""

import json
import math
import subprocess
import tempfile
import types
import uuid
import warnings

import numpy
import pytest

import korvadex
from conftest import CLI, cli, sim_env

pytest.importorskip("pandas")

PLAN = """\
[plan]
name = "offset"
version = "1"

[[step]]
name = "offset"
rate = "{rate}"
count = 1000
channel = 0
filter = "sinc5"

[step.limits]
mean_uV = {{ low = 950, high = 1050 }}
"""

# CH0 sits near 1000 µV: the second board, 120 µV higher, fails the plan.
TWO_BOARDS = "KVX0001:board,KVX0002:board:offset_uV=120"


def write_plan(folder, rate="1ksps"):
    path = folder / "plan.toml"
    path.write_text(PLAN.format(rate=rate), encoding="utf-8")
    return path


def attach(monkeypatch, devices):
    """The companion started from this process finds the virtual boards
    `devices`, running ten times faster than real ones."""
    for name, value in sim_env(devices=devices, speed=10).items():
        monkeypatch.setenv(name, value)


def start(record):
    return numpy.datetime64(record["start_time_millis"], "ms")


def measurements(record):
    for phase in record["phases"]:
        for name, measurement in phase["measurements"].items():
            yield phase, name, measurement


@pytest.fixture(scope="module")
def tested(tmp_path_factory):
    """Two boards, the second failing, and one not attached, tested once
    into a database of their own; the records' temporary folders are made
    in `temporary`. The station and the operator are texts that pandas
    would read as a number and as a missing value."""
    folder = tmp_path_factory.mktemp("tested")
    temporary = folder / "temporary"
    temporary.mkdir()
    db = "sqlite:" + str(folder / "r.sqlite")
    with pytest.MonkeyPatch.context() as monkeypatch:
        attach(monkeypatch, TWO_BOARDS)
        monkeypatch.setattr(tempfile, "tempdir", str(temporary))
        records = korvadex.run_plan(write_plan(folder), serials=["KVX0002", "KVX0009", "KVX0001"], db=db,
                                    station="007", operator="NA", keep=folder / "raw")
    return types.SimpleNamespace(records=records, db=db, keep=folder / "raw", temporary=temporary)


@pytest.fixture(scope="module")
def measured(tested):
    """The records of the boards that were measured."""
    return [record for record in tested.records if record["phases"]]


def test_run_plan_gives_each_boards_record_by_serial(tested):
    records = tested.records
    assert [(r["dut_id"], r["outcome"]) for r in records] == [
        ("KVX0001", "PASS"), ("KVX0002", "FAIL"), ("KVX0009", "ERROR")]
    assert len({r["metadata"]["run_id"] for r in records}) == 3
    means = [r["phases"][0]["measurements"]["ch0.mean_uV"]["measured_value"] for r in records[:2]]
    assert means[1] - means[0] == pytest.approx(120, abs=5)


def test_run_plan_passes_station_operator_and_keep_and_cleans_up(tested):
    assert {(r["station_id"], r["metadata"]["operator"]) for r in tested.records} == {("007", "NA")}
    raw_files = [phase["raw_file"] for r in tested.records for phase in r["phases"]]
    assert sorted(raw_files) == sorted(str(path) for path in tested.keep.iterdir())
    assert not any(tested.temporary.iterdir())


def test_results_holds_every_measurement_of_the_records(tested, measured):
    frame = korvadex.results(tested.db)
    assert str(frame["start_utc"].dtype) == "datetime64[ns, UTC]"
    rows = {(row.serial, row.run_id, f"ch{row.channel}.{row.figure}"):
            (row.station, row.operator, row.step, row.repeat, row.value, row.verdict, row.raw_file,
             row.start_utc.tz_convert(None))
            for row in frame.itertuples()}
    assert rows == {(r["dut_id"], r["metadata"]["run_id"], name):
                    (r["station_id"], r["metadata"]["operator"], phase["name"], phase["repeat"],
                     m["measured_value"], m["outcome"], phase["raw_file"], start(r))
                    for r in measured for phase, name, m in measurements(r)}


def since_after_the_first_start(starts):
    since = min(starts.values()) + numpy.timedelta64(1, "ms")
    return {"since": since.astype(object)}, {serial for serial, time in starts.items() if time >= since}


FILTERS = [
    # each: the filter and the serials it keeps, from the boards' starts
    pytest.param(lambda starts: ({"serial": "KVX0002"}, {"KVX0002"}), id="serial"),
    pytest.param(lambda starts: ({"plan": "offset"}, set(starts)), id="plan"),
    pytest.param(lambda starts: ({"plan": "other"}, set()), id="another plan"),
    pytest.param(lambda starts: ({"since": min(starts.values()).astype(object).date()}, set(starts)),
                 id="since a date"),
    pytest.param(lambda starts: ({"since": "2999-01-01"}, set()), id="since a later day"),
    pytest.param(since_after_the_first_start, id="since a moment"),
]


@pytest.mark.parametrize("case", FILTERS)
def test_results_filters_choose_the_runs(tested, measured, case):
    every = korvadex.results(tested.db)
    chosen, serials = case({r["dut_id"]: start(r) for r in measured})
    frame = korvadex.results(tested.db, **chosen)
    assert list(frame.columns) == list(every.columns)
    assert set(frame["serial"]) == serials
    assert len(frame) == (every["serial"].isin(serials)).sum()


def test_results_reads_values_that_are_no_number(measured, tmp_path):
    # The record of a figure without a finite value: its text, as test --json writes it.
    texts = {"inf": math.inf, "-inf": -math.inf, "not worked out": math.nan}
    folder = tmp_path / "records"
    folder.mkdir()
    for text in texts:
        record = json.loads(json.dumps(measured[0]))
        record["metadata"]["run_id"] = str(uuid.uuid4())
        for _, _, measurement in measurements(record):
            measurement.update(measured_value=None, measured_text=text)
        (folder / f"{record['metadata']['run_id']}.json").write_text(json.dumps(record), encoding="utf-8")
    db = "sqlite:" + str(tmp_path / "r.sqlite")
    cli("results", "push", str(folder), "--db", db)
    values = korvadex.results(db)["value"]
    assert values.dtype == numpy.float64
    assert sorted(map(str, values)) == sorted(map(str, texts.values()))


def test_a_refused_plan_raises_the_companions_message(tmp_path, monkeypatch):
    monkeypatch.chdir(tmp_path)
    plan = write_plan(tmp_path, rate="3ksps")
    refused = subprocess.run([CLI, "test", str(plan)], capture_output=True, text=True)
    with pytest.raises(korvadex.Error) as raised:
        korvadex.run_plan(plan)
    assert "3ksps" in str(raised.value)
    assert str(raised.value) == refused.stderr.strip()


@pytest.mark.parametrize("url", [None, "sqlite:missing.sqlite"], ids=["default", "given"])
def test_results_refuses_a_database_that_is_not_there(tmp_path, monkeypatch, url):
    monkeypatch.chdir(tmp_path)
    with pytest.raises(korvadex.Error, match=url or "sqlite:results.sqlite"):
        korvadex.results(url)
    assert not any(tmp_path.iterdir())


@pytest.mark.parametrize("serials, boards, raised", [
    ("KVX0001", ["KVX0001"], korvadex.Error),
    (["KVX0002", "KVX0001"], ["KVX0001", "KVX0002"], UserWarning),
], ids=["every board passed", "a board failed"])
def test_records_the_database_refuses_stay_for_results_push(tmp_path, monkeypatch, serials, boards, raised):
    attach(monkeypatch, TWO_BOARDS)
    monkeypatch.setattr(tempfile, "tempdir", str(tmp_path))
    # Made an error, the failed board's warning ends the call as the error does.
    with warnings.catch_warnings(), pytest.raises(raised) as refusal:
        warnings.simplefilter("error")
        korvadex.run_plan(write_plan(tmp_path), serials=serials, db="sqlite:" + str(tmp_path / "none" / "r.sqlite"),
                          keep=tmp_path / "raw")
    [kept] = tmp_path.glob("korvadex-records-*")
    assert f"results push {kept}" in str(refusal.value)
    assert sorted(json.loads(path.read_text())["dut_id"] for path in kept.glob("*.json")) == boards


def test_run_plan_and_results_default_to_the_current_folder(tmp_path, monkeypatch):
    attach(monkeypatch, "KVX0003:board")
    monkeypatch.chdir(tmp_path)
    [record] = korvadex.run_plan(write_plan(tmp_path))
    assert record["dut_id"] == "KVX0003"
    frame = korvadex.results()
    assert list(frame["run_id"]) == [record["metadata"]["run_id"]]
    assert (tmp_path / record["phases"][0]["raw_file"]).parent == tmp_path / "korvadex-raw"


def test_the_companion_is_found_on_path_when_korvadex_cli_is_not_set(tmp_path, monkeypatch):
    monkeypatch.delenv("KORVADEX_CLI")
    monkeypatch.setenv("PATH", str(tmp_path))
    with pytest.raises(korvadex.Error, match="korvadex-cli is not found"):
        korvadex.results()
    (tmp_path / "korvadex-cli").symlink_to(CLI)
    monkeypatch.chdir(tmp_path)
    with pytest.raises(korvadex.Error, match="sqlite:results.sqlite"):
        korvadex.results()
