"""The KORVADEX Board and its .DTA files from Python.

    import korvadex
    with korvadex.Board() as board:
        run = board.measure(rate="1ksps", count=10000, channel=0)
    run.noise()[0]["rms_noise_uV"]
    run.spectrum(0).spurs

The numbers are those of the KORVADEX window and of korvadex-cli: the
package drives the same C++ classes.
"""

from ._korvadex import __version__
from ._errors import (BoardError, BoardNotFound, Error, FileFormatError,
                      NoResponse, ReadError)
from .board import Board, Device, devices
from .run import Histogram, Run, Settings, Spectrum, load

__all__ = [
    "Board", "BoardError", "BoardNotFound", "Device", "Error",
    "FileFormatError", "Histogram", "NoResponse", "ReadError", "Run",
    "Settings", "Spectrum", "devices", "load",
]
