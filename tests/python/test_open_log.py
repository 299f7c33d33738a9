"""korvadex.open_log: a long-term log's head, runs, codes read lazily, its
figures streamed through the C++ blocks, their merge, the Dask recipe on a
loopback LocalCluster, and the refusal of files that are no log."""

import json
import math
import pickle

import h5py
import numpy
import pytest
import scipy.signal

import korvadex
from conftest import cli, report_json, sim_env, write_log

MID, REFERENCE, STEPS = 8388608, 2500000, 8388607
PAIRS = 10_000_000


def window_microvolts(codes):
    """The window's conversion as the log's attributes name it, in extended
    precision, kept as float32."""
    return ((codes.astype(numpy.longdouble) - MID) * REFERENCE / STEPS).astype(numpy.float32)


@pytest.fixture(scope="module", params=["h5", "csv"])
def board_log(request, tmp_path_factory):
    """Two runs of the virtual board's counter pattern, CH0 + CH1 at
    125 ksps, logged by the companion as HDF5 and as text."""
    path = tmp_path_factory.mktemp("board") / f"counter.{request.param}"
    cli("log", "--rate", "125ksps", "--channel", "2", "--filter", "sinc5", "--runs", "2", "-o", str(path),
        env=sim_env(COUNTER=1, SPEED=10))
    return path


@pytest.fixture(scope="module")
def long_log(tmp_path_factory):
    """Ten million seeded pairs far off mid-scale (a constant offset of
    millions of codes next to a noise of a few), written with h5py."""
    rng = numpy.random.default_rng(2026)
    codes = numpy.empty((PAIRS, 2), numpy.int32)
    codes[:, 0] = MID + 3_000_000 + numpy.rint(rng.normal(0.0, 3.5, PAIRS)).astype(numpy.int32)
    codes[:, 1] = MID - 2_000_000 + numpy.rint(rng.normal(0.0, 6.0, PAIRS)).astype(numpy.int32)
    codes[:, 1] += numpy.rint(40 * numpy.sin(2 * numpy.pi * 1000 / 62500 * numpy.arange(PAIRS))).astype(numpy.int32)
    path = write_log(tmp_path_factory.mktemp("long") / "long.h5", codes)
    return path, codes


def test_open_log_gives_the_companions_log(board_log):
    log = korvadex.open_log(board_log)
    assert log.settings == korvadex.Settings(
        rate="125ksps", rate_hz=125000.0, sample_rate_hz=62500.0, count=100000, channel=2,
        channel_name="CH0 + CH1", filter="Sinc5+Sinc1", buffer_on=False)
    # The text log's head names no serial number.
    serial = "KVX0001" if board_log.suffix == ".h5" else ""
    assert (log.board.name, log.board.version, log.board.serial) == ("KORVADEX", "V1.00", serial)
    runs = log.runs.to_pandas()
    assert list(runs["run"]) == [1, 2]
    assert list(runs["first_sample"]) == [0, 100000]
    assert list(runs["samples"]) == [100000, 100000]
    assert list(runs["end"]) == ["complete", "complete"]
    # The counter restarts with every run; CH1 runs half a scale above CH0.
    counter = numpy.tile(numpy.arange(100000, dtype=numpy.int32), 2)
    codes = log.codes[:]
    assert codes.dtype == numpy.int32 and codes.shape == (200000, 2) == log.codes.shape
    numpy.testing.assert_array_equal(codes[:, 0], counter)
    numpy.testing.assert_array_equal(codes[:, 1], counter + MID)
    numpy.testing.assert_array_equal(log.microvolts(slice(99990, 100010)), window_microvolts(codes[99990:100010]))
    numpy.testing.assert_array_equal(log.to_dask()[99000:101000].compute(), codes[99000:101000])


@pytest.mark.parametrize("key", [slice(99990, 100020), slice(5, 150001, 7), 123456, -1,
                                 (slice(16380, 16390), 1), slice(None, 3)])
def test_slices_read_lazily_equal_the_whole(board_log, key):
    log = korvadex.open_log(board_log)
    whole = numpy.asarray(korvadex.open_log(board_log).codes)
    part = log.codes[key]
    assert part.dtype == numpy.int32
    numpy.testing.assert_array_equal(part, whole[key])


def test_streamed_figures_equal_numpy_and_scipy(long_log):
    path, codes = long_log
    log = korvadex.open_log(path)
    noise = log.noise()
    for channel in (0, 1):
        c = codes[:, channel]
        uv = window_microvolts(c)
        figures = noise[channel]
        exact_sum = int(c.astype(numpy.int64).sum())
        mean_code = exact_sum // PAIRS
        assert figures["count"] == PAIRS
        assert figures["mean_code"] == mean_code
        deviation = math.sqrt(float(((c.astype(numpy.int64) - mean_code) ** 2).sum()) / PAIRS)
        assert figures["codes"]["deviation"] == pytest.approx(deviation, rel=1e-6)
        # The window takes the deviation about the mean kept as a float, as
        # the codes' about the truncated mean. A plain sum of squares in
        # double would be off by tens of percent with this offset.
        mean_uv = numpy.float32(uv.astype(numpy.float64).mean())
        assert figures["mean_uV"] == mean_uv
        rms = math.sqrt(float(((uv.astype(numpy.float64) - numpy.float64(mean_uv)) ** 2).mean()))
        assert figures["rms_noise_uV"] == pytest.approx(rms, rel=1e-6)
        assert numpy.float32(figures["pp_noise_uV"]) == numpy.float64(uv.max()) - numpy.float64(uv.min())
        assert figures["effective_resolution_bits"] == pytest.approx(math.log2(5e6 / rms), abs=1e-5)
        histogram = log.histogram(channel)
        counts, _ = numpy.histogram(c, bins=histogram.edges)
        numpy.testing.assert_array_equal(histogram.counts, counts)
    spectrum = log.spectrum(1)
    uv = window_microvolts(codes[:, 1]).astype(numpy.float64)
    length = spectrum.segment_length
    frequencies, power = scipy.signal.welch(uv, fs=62500.0, window="hann", nperseg=length,
                                            noverlap=length // 2, detrend="constant", scaling="density")
    assert spectrum.segments == (PAIRS - length) // (length // 2) + 1
    numpy.testing.assert_allclose(spectrum.frequencies, frequencies)
    numpy.testing.assert_allclose(spectrum.density[1:], numpy.sqrt(power[1:]), rtol=1e-6)
    assert spectrum.spurs[0]["frequency_hz"] == pytest.approx(1000, abs=spectrum.bin_hz)


BLOCK = 100_000
LENGTH = korvadex.segment_length(BLOCK)  # Welch's segments of a stream of BLOCK samples


def _flat(*parts):
    return numpy.concatenate([numpy.atleast_1d(numpy.asarray(part, dtype=float)) for part in parts])


def _counted(counts):
    held = numpy.nonzero(counts.counts)[0]
    return _flat(held + counts.first_code, counts.counts[held])


MERGES = {
    # name: (the function over (block, first, owned), its partial result as numbers)
    "moments of codes": (lambda b, first, owned: korvadex.moments(b[:owned]),
                         lambda m: _flat(m.count, m.mean, m.variance, m.min, m.max)),
    "moments of microvolts": (lambda b, first, owned: korvadex.moments(window_microvolts(b[:owned])),
                              lambda m: _flat(m.count, m.mean, m.variance, m.min, m.max)),
    "code counts": (lambda b, first, owned: korvadex.code_counts(b[:owned]), _counted),
    "Welch sums": (lambda b, first, owned: korvadex.welch_sums(window_microvolts(b), first, owned, LENGTH),
                   lambda w: _flat(w.segments, w.summed)),
    "channel stream": (lambda b, first, owned: korvadex.channel_stream(b, first, owned, BLOCK),
                       lambda s: _flat(s.code_moments.count, s.code_moments.variance, s.microvolt_moments.mean,
                                       _counted(s.code_counts), s.welch_sums.segments, s.welch_sums.summed)),
}


@pytest.mark.parametrize("name", MERGES)
def test_merged_partial_results_equal_one_pass(name):
    work, parts = MERGES[name]
    rng = numpy.random.default_rng(11)
    block = (MID + 2_000_000 + rng.normal(0, 20, BLOCK)).astype(numpy.int32)
    hop = LENGTH // 2
    cut = 5 * hop
    whole = work(block, 0, len(block))
    # The first block sees one hop past its end, for the segments starting in it.
    a = work(block[:cut + hop], 0, cut)
    b = work(block[cut:], cut, len(block) - cut)
    # As Dask hands them between processes.
    merged = pickle.loads(pickle.dumps(a)).merge(pickle.loads(pickle.dumps(b)))
    numpy.testing.assert_allclose(parts(merged), parts(whole), rtol=1e-12)
    assert parts(a).shape != parts(whole).shape or not numpy.allclose(parts(a), parts(whole), rtol=1e-12)


def _assert_same_report(got, expected):
    """Equal up to the order in which sums were added: integers and texts
    exactly, numbers to 1e-9."""
    if isinstance(expected, dict):
        assert sorted(got) == sorted(expected)
        for key in expected:
            _assert_same_report(got[key], expected[key])
    elif isinstance(expected, list):
        assert len(got) == len(expected)
        for g, e in zip(got, expected):
            _assert_same_report(g, e)
    elif isinstance(expected, float):
        assert got == pytest.approx(expected, rel=1e-9)
    else:
        assert got == expected


def test_dask_recipe_on_two_loopback_workers_equals_the_companion(long_log):
    path, _ = long_log
    from dask.distributed import Client

    with korvadex.local_cluster(workers=2) as cluster, Client(cluster) as client:
        workers = client.scheduler_info()["workers"]
        assert len(workers) == 2 and all(a.startswith("tcp://127.0.0.1:") for a in workers)
        report = korvadex.dask_report(path, client)
        # The workers keep no handle on the log once its report is done.
        assert list(client.run(lambda: list(korvadex.cluster._open_codes)).values()) == [[], []]
    expected = report_json(path)
    _assert_same_report(report.json, expected)
    _assert_same_report(korvadex.open_log(path).report().json, expected)


def test_many_threads_read_a_log_at_once_and_read_it_right(board_log):
    import concurrent.futures

    import dask.array

    log = korvadex.open_log(board_log)
    whole = numpy.asarray(korvadex.open_log(board_log).codes)
    starts = range(0, len(whole), 7919)
    with concurrent.futures.ThreadPoolExecutor(8) as pool:
        parts = list(pool.map(lambda a: log.codes[a:a + 7919], starts))
    numpy.testing.assert_array_equal(numpy.concatenate(parts), whole)
    codes = dask.array.from_array(log.codes, chunks=(16384, 2))
    summed = codes.sum(axis=0, dtype=numpy.int64).compute(scheduler="threads", num_workers=8)
    numpy.testing.assert_array_equal(summed, whole.sum(axis=0, dtype=numpy.int64))


def test_a_closed_log_lets_go_of_its_file(tmp_path, board_log):
    path = tmp_path / ("again" + board_log.suffix)
    words = ("log", "--rate", "125ksps", "--channel", "0", "--filter", "sinc5", "--runs", "1", "-o", str(path))
    cli(*words, env=sim_env(COUNTER=1, SPEED=10))
    log = korvadex.open_log(path)
    assert log.codes[0:3].tolist() == [0, 1, 2]
    log.close()
    with pytest.raises(ValueError, match="closed"):
        log.codes[0:3]
    cli(*words, "--force", env=sim_env(COUNTER=1, COUNTER_START=5, SPEED=10))
    assert korvadex.open_log(path).codes[0:3].tolist() == [5, 6, 7]


def test_a_run_table_longer_than_a_page_reads_as_a_sequence(tmp_path):
    runs = [(run, b"2026-12-08T21:40:12.345Z", run - 1, 1, b"stopped") for run in range(1, 5001)]
    log = korvadex.open_log(write_log(tmp_path / "runs.h5", numpy.full(5000, MID, numpy.int32), 0, runs))
    assert len(log.runs) == 5000
    assert [run.run for run in log.runs[4094:4098]] == [4095, 4096, 4097, 4098]
    assert log.runs[-1] == korvadex.LogRun(5000, "2026-12-08T21:40:12.345Z", 4999, 1, "stopped")
    assert sum(run.samples for run in log.runs) == 5000
    assert log.plan().pieces == ((0, 5000),)
    log.close()
    with pytest.raises(ValueError, match="closed"):
        log.runs[0]


@pytest.mark.parametrize("span", [0, 3 * 65536 + 8192, 100000, 65536.0])
def test_a_span_off_the_blocks_is_refused_before_any_work(board_log, span):
    with pytest.raises(ValueError, match="not a positive multiple of 65536"):
        korvadex.dask_report(board_log, client=object(), span=span)


def test_codes_refreshed_see_what_the_writer_flushed_since(tmp_path):
    first = numpy.arange(1000, dtype=numpy.int32).reshape(500, 2)
    path = write_log(tmp_path / "growing.h5", first)
    with h5py.File(path, "r+", libver="latest") as writer:
        writer.swmr_mode = True
        log = korvadex.open_log(path)
        writer["codes"].resize((800, 2))
        writer["codes"][500:] = first[:300] + 7
        writer.flush()
        assert log.codes.shape == (500, 2)
        log.codes.refresh()
        assert log.codes.shape == (800, 2)
        numpy.testing.assert_array_equal(log.codes[495:505], numpy.concatenate([first[495:], first[:5] + 7]))
        log.close()


def _not_hdf5(folder, good):
    path = folder / "notes.h5"
    path.write_text("measured on Tuesday\n")
    return path, ""


def _other_hdf5(folder, good):
    path = folder / "other.h5"
    with h5py.File(path, "w") as file:
        file["codes"] = numpy.arange(10, dtype=numpy.int32)
    return path, "not a KORVADEX log"


def _truncated(folder, good):
    path = folder / "truncated.h5"
    data = good.read_bytes()
    path.write_bytes(data[:len(data) // 2])
    return path, ""


def _wrong_type(folder, good):
    return write_log(folder / "float.h5", numpy.zeros((1000, 2)), codes_dtype="<f8"), "32-bit signed integers"


def _short_comment(folder, good):
    path = folder / "short.csv"
    path.write_text("# korvadex-cli log\n# settings: 125ksps, 100000, CH0 (Ain0-Ain1), Sinc5+Sinc1\n"
                    "time,run,sample,ch0_code,ch0_uV\n2026-12-08T10:00:00.000Z,1,0,8388608,0.000\n"
                    "# board back at x\n")
    return path, "line 5: a board-back comment without its time"


@pytest.mark.parametrize("make", [_not_hdf5, _other_hdf5, _truncated, _wrong_type, _short_comment])
def test_bad_files_raise_file_format_error(tmp_path, long_log, make):
    path, words = make(tmp_path, long_log[0])
    with pytest.raises(korvadex.FileFormatError, match=words) as raised:
        korvadex.open_log(path)
    assert str(path) in str(raised.value)


def test_summaries_and_envelope_hold_every_sample_and_spike(tmp_path):
    """index adds block summaries to a log written elsewhere; level 1 reads
    as NumPy's own block figures; the whole log's envelope, from the
    summaries, puts a one-sample spike in one column, and a close one,
    from the codes, in its sample's column."""
    n = 40 * 4096 + 1000
    codes = (MID + numpy.arange(n) % 3).astype(numpy.int32)
    codes[77777] = MID + 5000
    path = tmp_path / "spike.h5"
    write_log(path, codes, channel_mode=0)
    cli("index", str(path))
    with korvadex.open_log(path) as log:
        level = log.summary(1)
        blocks = codes[:40 * 4096].reshape(40, 4096)
        assert list(level["count"]) == [4096] * 40
        assert (level["min"] == blocks.min(axis=1)).all() and (level["max"] == blocks.max(axis=1)).all()
        assert (level["sum"] == blocks.sum(axis=1, dtype=numpy.int64)).all()
        numpy.testing.assert_allclose(level["m2"], blocks.var(axis=1) * 4096, rtol=1e-9)
        low, high = log.envelope(0, n, 10)
        assert low.min() == MID and high.max() == MID + 5000
        assert numpy.count_nonzero(high == MID + 5000) == 1
        low, high = log.envelope(77770, 77790, 20)
        assert list(numpy.flatnonzero(high == MID + 5000)) == [7]
        with pytest.raises(ValueError):
            log.summary(9)
