"""One run: its settings and samples as NumPy arrays, and its noise figures."""

import dataclasses
import json

import numpy

from . import _korvadex


@dataclasses.dataclass(frozen=True)
class Settings:
    """A run's settings as the window's lists and filter buttons show them."""

    rate: str              #: the rate item, "1ksps"
    rate_hz: float         #: the rate it nominally stands for
    sample_rate_hz: float  #: samples (CH0 + CH1 pairs) a second, rate_hz / 2 for both
    count: int             #: the count item's number
    channel: int           #: 0 = CH0, 1 = CH1, 2 = CH0 + CH1
    channel_name: str      #: "CH0 (Ain0-Ain1)"
    filter: str            #: "Sinc3" or "Sinc5+Sinc1"
    buffer_on: bool        #: the file's input-buffer flag


@dataclasses.dataclass(frozen=True)
class Histogram:
    """The code histogram of the noise report."""

    first_code: int
    bin_codes: int          #: codes per bin
    counts: numpy.ndarray   #: samples per bin, from first_code up
    mean_code: float
    sigma_codes: float

    @property
    def edges(self):
        """The bins' lower codes and the last bin's upper end."""
        return self.first_code + self.bin_codes * numpy.arange(len(self.counts) + 1)


@dataclasses.dataclass(frozen=True)
class Spectrum:
    """The noise spectral density (Welch, Hann window) and its largest spurs."""

    frequencies: numpy.ndarray  #: Hz
    density: numpy.ndarray      #: µV/√Hz
    sample_rate_hz: float
    bin_hz: float
    segment_length: int
    segments: int
    median_density_uV_per_rtHz: float
    #: dicts of frequency_hz, amplitude_uV_peak, mains_hz and harmonic (None
    #: when the spur is not mains hum)
    spurs: list


def load(path):
    """Reads a .DTA file as the window loads it.

    Raises FileFormatError for a file the window would refuse,
    FileNotFoundError or IsADirectoryError for a path that is no file.
    """
    return Run(_korvadex.RunCore.load(path))


class Run:
    """A run measured by a Board or loaded with korvadex.load."""

    def __init__(self, core):
        self._core = core
        self.settings = Settings(**core.settings())

    def __len__(self):
        return self._core.samples()

    def __repr__(self):
        s = self.settings
        return (f"<korvadex.Run {len(self)} samples, {s.rate}, "
                f"{s.channel_name}, {s.filter}>")

    @property
    def codes(self):
        """Converter codes, int32, shape (n,) or (n, 2) for CH0 + CH1; a
        read-only view of the run, not a copy."""
        return self._core.codes()

    @property
    def microvolts(self):
        """The codes in µV as the window converts them, float64."""
        return self._core.microvolts()

    @property
    def time(self):
        """Seconds of each sample from the nominal rate, as export gives them."""
        return self._core.time()

    def save(self, path, overwrite=False):
        """Writes the run as the window saves it. An existing file is
        replaced only with overwrite=True (FileExistsError otherwise)."""
        self._core.save(path, overwrite)

    def noise(self):
        """The noise figures of ``korvadex-cli info --json`` per channel
        number: counts, extremes and deviation in codes and µV, RMS and
        peak-to-peak noise, effective and noise-free resolution (None when
        the noise is 0)."""
        report = json.loads(self._core.noise_json())
        return {channel["channel"]: channel for channel in report["channels"]}

    def histogram(self, channel):
        """The code histogram of a channel, as ``korvadex-cli report`` draws it."""
        return Histogram(**self._core.analysis(channel)["histogram"])

    def spectrum(self, channel):
        """The noise spectral density of a channel and its spurs, as
        ``korvadex-cli report`` gives them. ValueError when the run is too
        short for a spectrum."""
        analysis = self._core.analysis(channel)
        if analysis["spectrum"] is None:
            raise ValueError(analysis["no_spectrum"])
        return Spectrum(**analysis["spectrum"])

    def to_pandas(self):
        """The samples as a pandas DataFrame with the columns of
        ``korvadex-cli export``: time_s and code and µV per channel, indexed
        by sample number."""
        import pandas

        columns = {"time_s": self.time}
        codes, microvolts = self.codes, self.microvolts
        channels = [0, 1] if self.settings.channel == 2 else [self.settings.channel]
        for column, channel in enumerate(channels):
            held = (slice(None), column) if codes.ndim == 2 else slice(None)
            columns[f"ch{channel}_code"] = codes[held]
            columns[f"ch{channel}_uV"] = microvolts[held]
        return pandas.DataFrame(columns, index=pandas.RangeIndex(len(self), name="index"))
