"""A long-term log of ``korvadex-cli log``: its head, runs and events, its
codes read a slice at a time, and its report worked a block at a time."""

import collections.abc
import dataclasses
import functools
import json
import operator
import os

import numpy

from . import _korvadex
from .run import Histogram, Settings, Spectrum

#: Samples (pairs) a block of the report's pass holds: a multiple of
#: every Welch hop, so that each block starts on a segment boundary.
SPAN_SAMPLES = 16 * _korvadex.BLOCK_SAMPLES


@dataclasses.dataclass(frozen=True)
class LogBoard:
    """The board that took a log's runs."""

    name: str     #: "KORVADEX"
    version: str  #: "V1.00"
    serial: str   #: "" when the driver gave none


@dataclasses.dataclass(frozen=True)
class LogRun:
    """One run of a log: where its samples (pairs) lie in ``codes``."""

    run: int           #: from 1
    start: str         #: UTC, "2026-12-08T21:40:12.345Z"
    first_sample: int  #: index of its first sample in codes
    samples: int
    end: str           #: "complete", "stopped", "read error", "board error", "reconnect" or "running"


@dataclasses.dataclass(frozen=True)
class LogEvent:
    """A gap between runs, a lost board, the board back, the log's end."""

    time: str     #: UTC
    kind: str     #: "gap", "lost", "back", "given up" or "end"
    run: int      #: the run after a gap, the run lost
    seconds: float
    text: str     #: the text log's comment for it


class Table(collections.abc.Sequence):
    """A log's rows (runs or events) in the log's order, read from the file
    a page at a time as they are reached: a week's log holds near a million
    runs. Indexes and slices as a tuple does; reading after the log is
    closed raises ValueError."""

    PAGE = 4096

    def __init__(self, kind, count, read):
        self.kind = kind
        self._count = count
        self._read = read
        self._page = (None, ())

    def __len__(self):
        return self._count

    def _row(self, index):
        first = index - index % self.PAGE
        if self._page[0] != first:
            rows = self._read(first, min(self.PAGE, self._count - first))
            self._page = (first, tuple(self.kind(*row) for row in rows))
        return self._page[1][index - first]

    def __getitem__(self, key):
        if isinstance(key, slice):
            return tuple(self._row(i) for i in range(*key.indices(self._count)))
        index = operator.index(key)
        if not -self._count <= index < self._count:
            raise IndexError(f"row {key} of a table of {self._count}")
        return self._row(index % self._count)

    def __iter__(self):
        return (self._row(i) for i in range(self._count))

    def __eq__(self, other):
        return isinstance(other, collections.abc.Sequence) and tuple(self) == tuple(other)

    def __repr__(self):
        return f"<korvadex.Table of {self._count} {self.kind.__name__} rows>"

    def to_pandas(self):
        """The rows as a pandas DataFrame, a column per field."""
        import pandas

        names = [field.name for field in dataclasses.fields(self.kind)]
        return pandas.DataFrame([dataclasses.astuple(row) for row in self], columns=names)


def _is_hdf5(path):
    with open(path, "rb") as file:
        return file.read(8) == b"\x89HDF\r\n\x1a\n"


class LogCodes:
    """A log's converter codes, int32, shape (n,) or (n, 2) for CH0 + CH1,
    read only where a slice reaches: ``codes[a:b]`` reads the chunks that
    hold samples a to b and nothing else.

    An HDF5 log is read through h5py (the dataset opened for SWMR reading,
    so a log still being written reads as far as it was flushed); a text log
    through the companion's reader. Pickles as its path, so Dask's workers
    open it themselves.
    """

    def __init__(self, path, core=None):
        self.path = os.fspath(path)
        self._dataset = None
        self._closed = False
        if _is_hdf5(self.path):
            import h5py

            self._dataset = h5py.File(self.path, "r", swmr=True)[_korvadex.CODES_DATASET]
            self.shape = self._dataset.shape
            self.chunks = self._dataset.chunks
        else:
            self._core = core or _korvadex.LogCore.open(self.path)
            columns = self._core.channels()
            self.shape = (self._core.samples(),) + ((2,) if columns == 2 else ())
            self.chunks = (_korvadex.BLOCK_SAMPLES,) + self.shape[1:]

    def __reduce__(self):
        return (LogCodes, (self.path,))

    def refresh(self):
        """Sees the samples that the writer of an HDF5 log flushed since the
        log was opened (SWMR); a text log stays as it was read."""
        if self._dataset is not None:
            self._dataset.refresh()
            self.shape = self._dataset.shape

    def close(self):
        """Closes the file; reading afterwards raises ValueError."""
        self._closed = True
        if self._dataset is not None:
            self._dataset.file.close()
        else:
            self._core.close()

    dtype = numpy.dtype(numpy.int32)

    @property
    def ndim(self):
        return len(self.shape)

    def __len__(self):
        return self.shape[0]

    def __array__(self, dtype=None):
        codes = self[:]
        return codes if dtype is None else codes.astype(dtype)

    def __getitem__(self, key):
        if self._closed:
            raise ValueError(f"{self.path}: the log is closed")
        if self._dataset is not None:
            return numpy.asarray(self._dataset[key], dtype=numpy.int32)
        rows, rest = (key[0], key[1:]) if isinstance(key, tuple) else (key, ())
        if isinstance(rows, (int, numpy.integer)):
            index = range(len(self))[rows]
            return self._core.read_codes(index, 1)[(0,) + rest]
        if isinstance(rows, slice):
            start, stop, step = rows.indices(len(self))
            if step > 0:
                block = self._core.read_codes(start, max(0, stop - start))
                return block[(slice(None, None, step),) + rest]
        return self._core.read_codes(0, len(self))[key]


class LogReport:
    """A log's report, as ``korvadex-cli report --json`` gives it, from the
    merged per-channel streams of its blocks."""

    def __init__(self, line, channels):
        #: the line of report --json, parsed
        self.json = json.loads(line)
        self._channels = {channel["channel"]: channel for channel in channels}

    def noise(self):
        """The noise figures per channel number, as Run.noise() gives them
        (with the means)."""
        dropped = {"histogram", "spectrum", "no_spectrum"}
        return {channel["channel"]: {k: v for k, v in channel.items() if k not in dropped}
                for channel in self.json["channels"]}

    def _channel(self, channel):
        if channel not in self._channels:
            raise ValueError(f"channel {channel} holds no data in this log "
                             f"(channels {sorted(self._channels)})")
        return self._channels[channel]

    def histogram(self, channel):
        """The code histogram of a channel."""
        return Histogram(**self._channel(channel)["histogram"])

    def spectrum(self, channel):
        """The noise spectral density of a channel and its spurs (Welch over
        every segment of the log). ValueError when the log is too short."""
        analysis = self._channel(channel)
        if analysis["spectrum"] is None:
            raise ValueError(analysis["no_spectrum"])
        return Spectrum(**analysis["spectrum"])


@dataclasses.dataclass(frozen=True)
class StreamPlan:
    """How a log's report is cut into blocks: the runs' samples as one
    stream (as the companion reads them), each block with the look-ahead
    that Welch's segments starting in it need. Small and picklable, for
    the workers."""

    path: str
    pieces: tuple        #: (first sample, samples) stretches of codes, in order
    samples: int         #: of the stream
    columns: int
    gain_divisor: int
    look_ahead: int      #: half a Welch segment

    def spans(self, span=SPAN_SAMPLES):
        """(first, owned) of each block of the stream. A block must start on
        a Welch hop, or the segments across its edge would be lost: span is
        a positive multiple of BLOCK_SAMPLES, ValueError otherwise."""
        block = _korvadex.BLOCK_SAMPLES
        if not isinstance(span, (int, numpy.integer)) or span <= 0 or span % block:
            raise ValueError(f"span {span!r} is not a positive multiple of {block} samples")
        return [(first, min(span, self.samples - first)) for first in range(0, self.samples, span)]

    def read(self, codes, first, count):
        """Stream samples [first, first + count) from the log's codes."""
        parts, start = [], 0
        for piece_first, piece_samples in self.pieces:
            end = start + piece_samples
            low, high = max(first, start), min(first + count, end)
            if low < high:
                parts.append(codes[piece_first + low - start:piece_first + high - start])
            start = end
        return parts[0] if len(parts) == 1 else numpy.concatenate(parts)

    def block(self, codes, first, owned):
        """One partial result per column of the block owning stream samples
        first .. first + owned - 1."""
        available = min(self.samples - first, owned + self.look_ahead)
        block = self.read(codes, first, available)
        return [_korvadex.channel_stream(block, first, owned, self.samples, self.gain_divisor, column)
                for column in range(self.columns)]

    def empty(self):
        empty = numpy.zeros((0, self.columns), dtype=numpy.int32)
        return [_korvadex.channel_stream(empty, 0, 0, self.samples, self.gain_divisor, column)
                for column in range(self.columns)]


def merge(a, b):
    """Partial results of two blocks (lists of per-column streams), the
    earlier first, merged."""
    return [x.merge(y) for x, y in zip(a, b)]


def _pieces(runs):
    pieces = []
    for run in runs:
        if run.samples <= 0:
            continue
        if pieces and sum(pieces[-1]) == run.first_sample:
            pieces[-1][1] += run.samples
        else:
            pieces.append([run.first_sample, run.samples])
    return tuple(tuple(piece) for piece in pieces)


def open_log(path):
    """Opens a long-term log of ``korvadex-cli log`` (HDF5 or text).

    Raises FileFormatError for a file that is not such a log (not HDF5 nor
    a text log, an HDF5 file of another program, a truncated file, a
    /codes of the wrong type), FileNotFoundError or IsADirectoryError for a
    path that is no file.
    """
    return Log(path)


class Log:
    """A long-term log: settings, board, runs, events, codes, and the
    figures of ``korvadex-cli report`` worked through it a block at a time,
    in memory that does not grow with the log.

        with korvadex.open_log("day.h5") as log:
            print(log.noise()[0]["rms_noise_uV"], log.codes[1000:2000])
    """

    def __init__(self, path):
        self.path = os.fspath(path)
        if os.path.isdir(self.path):
            raise IsADirectoryError(f"{self.path}: is a folder, not a log")
        if not os.path.exists(self.path):
            raise FileNotFoundError(f"{self.path}: no such file")
        self._core = _korvadex.LogCore.open(self.path)
        head = self._core.head()
        self.settings = Settings(**head["settings"])
        name, _, version = head["board"].partition(" / ")
        self.board = LogBoard(name, version, head["board_serial"])
        #: UTC start of the log, as its head says it
        self.started = head["started"]
        #: the version of the program that wrote it ("" when unknown)
        self.program_version = head["program_version"]
        self.gain_divisor = head["gain_divisor"]
        self.runs = Table(LogRun, self._core.run_count(), self._core.runs)
        self.events = Table(LogEvent, self._core.event_count(), self._core.events)
        self.codes = LogCodes(self.path, self._core)

    def __len__(self):
        return len(self.codes)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()

    def close(self):
        """Closes the file, every handle on it; the figures already worked
        out stay."""
        self.codes.close()
        self._core.close()

    def __repr__(self):
        s = self.settings
        return (f"<korvadex.Log {len(self)} samples in {len(self.runs)} runs, {s.rate}, "
                f"{s.channel_name}, {s.filter}>")

    def microvolts(self, key=slice(None)):
        """The codes of a slice in µV as the window converts them, float32."""
        return _korvadex.microvolts(self.codes[key], self.gain_divisor)

    def summary(self, level):
        """Level ``level`` (1, 2, ...) of the log's block summaries: a NumPy
        structured array (rows,) or (rows, 2) with the fields min, max,
        count, sum and m2 (the squared deviations about the block's mean).
        A level-1 row covers 4096 samples (pairs), a row of each level above
        16 rows of the one below; samples after the last whole block have no
        row. ValueError for a level the log does not hold (a text log, or an
        HDF5 log never indexed, holds none: ``korvadex-cli index`` adds
        them)."""
        return self._core.summary(level)

    def envelope(self, start, stop, columns):
        """Samples [start, stop) shared out over ``columns`` columns, as the
        log window draws them: (low, high), each column's lowest and highest
        code, float64 arrays (columns,) or (columns, 2), NaN where a column
        holds no sample. Where a column spans a summary block the figures
        come from the coarsest level that fits, each block whole in the
        column of its first sample; a one-sample spike is in every picture."""
        return self._core.envelope(start, stop, columns)

    def plan(self):
        """The log's stream and how it is cut (see StreamPlan)."""
        pieces = _pieces(self.runs)
        samples = sum(count for _, count in pieces)
        return StreamPlan(self.path, pieces, samples, self._core.channels(), self.gain_divisor,
                          _korvadex.segment_length(samples) // 2)

    def finish(self, streams):
        """The report of the merged streams of every block (one per column)."""
        return LogReport(*self._core.report(streams))

    @functools.cached_property
    def _report(self):
        plan = self.plan()
        streams = plan.empty()
        for first, owned in plan.spans():
            streams = merge(streams, plan.block(self.codes, first, owned))
        return self.finish(streams)

    def report(self):
        """The figures of ``korvadex-cli report --json`` for this log, worked
        in one pass (LogReport: .json, noise(), histogram(), spectrum())."""
        return self._report

    def noise(self):
        """The noise figures per channel number, as korvadex-cli gives them."""
        return self._report.noise()

    def histogram(self, channel):
        """The code histogram of a channel, as korvadex-cli report draws it."""
        return self._report.histogram(channel)

    def spectrum(self, channel):
        """The noise spectral density of a channel over the whole log."""
        return self._report.spectrum(channel)

    def to_dask(self):
        """The codes as a dask.array over the file's chunks (a whole number
        of them per Dask chunk, about a million samples)."""
        import dask.array

        rows = self.codes.chunks[0]
        rows *= max(1, SPAN_SAMPLES // rows)
        return dask.array.from_array(self.codes, chunks=(rows,) + self.codes.shape[1:],
                                     name=f"korvadex-log-{self.path}-{len(self)}")
