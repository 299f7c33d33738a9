"""The KORVADEX Board and its .DTA files from Python.

    import korvadex
    with korvadex.Board() as board:
        run = board.measure(rate="1ksps", count=10000, channel=0)
    run.noise()[0]["rms_noise_uV"]
    run.spectrum(0).spurs

    log = korvadex.open_log("day.h5")        # a long-term log of korvadex-cli log
    log.codes[1000000:2000000], log.noise()[0]["rms_noise_uV"]
    korvadex.dask_report("day.h5")           # its report on Dask workers

    records = korvadex.run_plan("plan.toml", serials=["KVX0001", "KVX0002"])
    korvadex.results(serial="KVX0002")       # the results database, a DataFrame

The numbers are those of the KORVADEX window and of korvadex-cli: the
package drives the same C++ classes.
"""

from ._korvadex import __version__
from ._errors import (BoardError, BoardNotFound, Error, FileFormatError,
                      NoResponse, ReadError)
from .board import Board, Device, devices
from .cluster import dask_report, local_cluster
from .log import Log, LogBoard, LogEvent, LogReport, LogRun, open_log
from .results import results, run_plan
from .run import Histogram, Run, Settings, Spectrum, load
from ._korvadex import (ChannelStream, CodeCounts, Moments, WelchSums,
                        channel_stream, code_counts, microvolts, moments,
                        segment_length, welch_sums)

__all__ = [
    "Board", "BoardError", "BoardNotFound", "ChannelStream", "CodeCounts",
    "Device", "Error", "FileFormatError", "Histogram", "Log", "LogBoard",
    "LogEvent", "LogReport", "LogRun", "Moments", "NoResponse", "ReadError",
    "Run", "Settings", "Spectrum", "WelchSums", "channel_stream",
    "code_counts", "dask_report", "devices", "load", "local_cluster",
    "microvolts", "moments", "open_log", "results", "run_plan",
    "segment_length", "welch_sums",
]
