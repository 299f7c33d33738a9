"""korvadex.load and Run.save against the window's file class and the
companion's export, info and report."""

import csv
import io

import numpy
import pytest

import korvadex
from conftest import cli, info_json, report_json


@pytest.mark.parametrize("channel", [0, 1, 2])
def test_save_writes_the_bytes_loaded(measured, tmp_path, channel):
    copy = tmp_path / "copy.DTA"
    korvadex.load(measured[channel]).save(copy)
    assert copy.read_bytes() == measured[channel].read_bytes()


@pytest.mark.parametrize("channel", [0, 1, 2])
def test_codes_microvolts_and_time_are_the_exported_ones(measured, channel):
    run = korvadex.load(measured[channel])
    rows = list(csv.DictReader(io.StringIO(cli("export", str(measured[channel])))))
    held = [0, 1] if channel == 2 else [channel]
    codes = numpy.array([[int(row[f"ch{c}_code"]) for c in held] for row in rows], dtype=numpy.int32)
    microvolts = numpy.array([[float(row[f"ch{c}_uV"]) for c in held] for row in rows], dtype=numpy.float32)
    shape = (len(rows), 2) if channel == 2 else (len(rows),)
    assert run.codes.dtype == numpy.int32 and run.codes.shape == shape
    numpy.testing.assert_array_equal(run.codes, codes.reshape(shape))
    # The export writes the window's float microvolts with the fewest digits that read back the same.
    numpy.testing.assert_array_equal(run.microvolts.astype(numpy.float32), microvolts.reshape(shape))
    numpy.testing.assert_allclose(run.time, [float(row["time_s"]) for row in rows], rtol=0, atol=5e-7)
    assert run.settings.rate == "125ksps" and run.settings.filter == "Sinc5+Sinc1"


def test_codes_are_a_read_only_view_that_keeps_the_run_alive(measured):
    run = korvadex.load(measured[2])
    codes = run.codes
    assert not codes.flags.owndata and not codes.flags.writeable
    with pytest.raises(ValueError, match="read-only"):
        codes[0, 0] = 0
    kept = codes.copy()
    del run
    # Another run would take the freed arrays' memory, were the view not keeping them.
    others = [korvadex.load(measured[0]) for _ in range(3)]
    numpy.testing.assert_array_equal(codes, kept)
    assert len(others) == 3


@pytest.mark.parametrize("channel", [0, 1, 2])
def test_noise_is_info_json(measured, channel):
    expected = {c["channel"]: c for c in info_json(measured[channel])["channels"]}
    assert korvadex.load(measured[channel]).noise() == expected


@pytest.mark.parametrize("channel", [0, 1])
def test_spectrum_and_histogram_are_report_json(measured, channel):
    run = korvadex.load(measured[2])
    reported = next(c for c in report_json(measured[2])["channels"] if c["channel"] == channel)
    spectrum = run.spectrum(channel)
    expected = reported["spectrum"]
    assert (spectrum.sample_rate_hz, spectrum.bin_hz, spectrum.segment_length, spectrum.segments,
            spectrum.median_density_uV_per_rtHz) == (
        expected["sample_rate_hz"], expected["bin_hz"], expected["segment_length"], expected["segments"],
        expected["median_density_uV_per_rtHz"])
    spurs = [{key: value for key, value in spur.items() if value is not None} for spur in spectrum.spurs]
    assert spurs == expected["spurs"]
    assert len(spectrum.density) == spectrum.segment_length // 2 + 1
    assert spectrum.frequencies[-1] == pytest.approx(spectrum.sample_rate_hz / 2)
    histogram = run.histogram(channel)
    assert histogram.counts.tolist() == reported["histogram"]["counts"]
    assert (histogram.first_code, histogram.bin_codes, histogram.mean_code, histogram.sigma_codes) == (
        reported["histogram"]["first_code"], reported["histogram"]["bin_codes"],
        reported["histogram"]["mean_code"], reported["histogram"]["sigma_codes"])


def test_the_sine_on_ch0_is_the_largest_spur(measured):
    spurs = korvadex.load(measured[0]).spectrum(0).spurs
    assert max(spurs, key=lambda s: s["amplitude_uV_peak"])["frequency_hz"] == pytest.approx(1000, abs=40)


def test_save_replaces_a_file_only_when_asked(measured, tmp_path):
    target = tmp_path / "kept.DTA"
    target.write_bytes(b"older run")
    run = korvadex.load(measured[1])
    with pytest.raises(FileExistsError, match="overwrite=True"):
        run.save(target)
    assert target.read_bytes() == b"older run"
    run.save(target, overwrite=True)
    assert target.read_bytes() == measured[1].read_bytes()


def test_to_pandas_has_the_export_columns(measured):
    pandas = pytest.importorskip("pandas")
    frame = korvadex.load(measured[2]).to_pandas()
    exported = pandas.read_csv(io.StringIO(cli("export", str(measured[2]))), index_col="index")
    assert list(frame.columns) == list(exported.columns)
    numpy.testing.assert_array_equal(frame["ch1_code"], exported["ch1_code"])


HEADER = ["AD7175_DataFile:", "M:", "spsSel:5", "DataCountSel:0", "CHSel:{channel}", "GainSel:0",
          "fSinc5:{sinc5}", "fBUF_ON:0", "MEND:", "D:"]


def dta(lines, channel=0, sinc5=0):
    return "\r\n".join(line.format(channel=channel, sinc5=sinc5) for line in lines).encode() + b"\r\n"


MALFORMED = {
    "no header": dta(HEADER[1:] + ["8388608", "DEND:"]),
    "flag 2": dta(HEADER + ["8388608", "DEND:"], sinc5=2),
    "no DEND": dta(HEADER + ["8388608"]),
    "one column for CH0 + CH1": dta(HEADER + ["8388608", "DEND:"], channel=2),
    "two columns for CH0": dta(HEADER + ["8388608,8388600", "DEND:"]),
    "a word for a code": dta(HEADER + ["eight", "DEND:"]),
    "rate not in the list": dta([line.replace("spsSel:5", "spsSel:99") for line in HEADER] + ["1", "DEND:"]),
}


@pytest.mark.parametrize("content", MALFORMED.values(), ids=MALFORMED.keys())
def test_malformed_files_raise_file_format_error(tmp_path, content):
    path = tmp_path / "bad.DTA"
    path.write_bytes(content)
    with pytest.raises(korvadex.FileFormatError, match="データファイルの内容が正しくありませんでした") as caught:
        korvadex.load(path)
    assert str(path) in str(caught.value)
    assert [p.name for p in tmp_path.iterdir()] == ["bad.DTA"] and path.read_bytes() == content


def test_a_folder_is_no_file(tmp_path, measured):
    with pytest.raises(IsADirectoryError, match="folder"):
        korvadex.load(tmp_path)
    with pytest.raises(IsADirectoryError, match="folder"):
        korvadex.load(measured[0]).save(tmp_path)
    with pytest.raises(FileNotFoundError, match="no such file"):
        korvadex.load(tmp_path / "missing.DTA")
    assert list(tmp_path.iterdir()) == []


BAD_SETTINGS = {
    "unknown rate": ({"rate": "3ksps"}, r"rate 3ksps is not one of .*\"125ksps\""),
    "negative count": ({"count": -1}, r"count -1 is not one of .*\"100000\""),
    "wrong channel": ({"channel": 3}, r"channel 3 is not one of 0 \(CH0\), 1 \(CH1\), 2 \(CH0 \+ CH1\)"),
    "unknown filter": ({"filter": "sinc4"}, r"filter sinc4 is not one of \"sinc3\", \"sinc5\""),
    "no stall time": ({"stall_timeout": 0}, r"stall_timeout must be a number of seconds above 0"),
}


@pytest.mark.parametrize("arguments,message", BAD_SETTINGS.values(), ids=BAD_SETTINGS.keys())
def test_bad_settings_raise_value_error_before_the_board_is_asked(arguments, message):
    # No driver on this process's loader path answers: the refusal must come first.
    with pytest.raises(ValueError, match=message):
        korvadex.Board().measure(**arguments)
