"""The KORVADEX Board."""

import dataclasses
import itertools

from . import _korvadex
from .run import Run


@dataclasses.dataclass(frozen=True)
class Device:
    """One FTDI device as ``korvadex-cli devices`` lists it.

    state is "usable", "busy" or "unreadable"; reason says why when the
    driver gave one, else "". Listing sends nothing to any device.
    """

    index: int
    serial: str
    description: str
    type: str
    location: str
    state: str
    reason: str


def devices():
    """The FTDI devices attached, in the driver's order; [] with none (or
    no driver)."""
    return [Device(*row) for row in _korvadex.BoardCore.devices()]


class Board:
    """The attached KORVADEX Board, found as korvadex-cli finds it (FTDI's
    D2XX library, then the libftdi driver).

        with korvadex.Board() as board:
            print(board.identity)
            run = board.measure(rate="125ksps", count=100000, channel=2)

    serial chooses the board by its serial number; without it the
    environment's KORVADEX_BOARD does, else the only FTDI device attached
    is used. With several attached and none chosen, opening raises
    BoardNotFound listing them; so does a serial not attached.

    Entering identifies the board ("?", "U?" answering "KORVADEX", "V?");
    leaving closes the link. Ctrl-C during a run stops the board as the
    window's stop button does and raises KeyboardInterrupt.
    """

    def __init__(self, serial=None):
        self._core = _korvadex.BoardCore(serial)

    def __enter__(self):
        self.open()
        return self

    def __exit__(self, *exc):
        self.close()

    def open(self):
        """Identifies the board: BoardNotFound or NoResponse when it fails.

        BoardNotFound's message is the window's text, then on a line of its
        own why the board could not be used and what to do about it.
        """
        self._core.connect()

    def close(self):
        """Closes the link to the board."""
        self._core.close()

    @property
    def identity(self):
        """"KORVADEX / V1.00", as the window's first status panel shows it."""
        return self._core.identity()

    def measure(self, rate="1ksps", count=10000, channel=0, filter="sinc3",
                progress=None, stall_timeout=10.0):
        """Takes one run and returns it as a Run.

        rate is the list's item ("1ksps", "49.96sps/50sps" or either half)
        or its index 0..16; count the item (100 ... 100000) or its index
        0..9; channel 0 (CH0), 1 (CH1) or 2 (CH0 + CH1); filter "sinc3" or
        "sinc5". progress(taken, total) is called as samples arrive; an
        exception it raises stops the run and is raised again. A run that
        brings no sample for stall_timeout seconds raises ReadError, as
        does a failing link (its run holds the samples taken). BoardError
        when the board refuses the settings; ValueError for a setting that
        names no item.
        """
        return Run(self._core.measure(rate, count, channel, filter, progress,
                                      stall_timeout))

    def runs(self, n=None, **settings):
        """Back-to-back runs of measure(**settings), n of them or without
        end, for logging."""
        for _ in itertools.repeat(None) if n is None else range(n):
            yield self.measure(**settings)
