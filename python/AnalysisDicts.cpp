#include "AnalysisDicts.h"

#include "MeasureItems.h"

#include <pybind11/numpy.h>

namespace py = pybind11;

namespace {

py::dict SpurDict(const Spur& spur)
{
    py::dict dict;
    dict["frequency_hz"] = spur.FrequencyHz;
    dict["amplitude_uV_peak"] = spur.AmplitudeMicrovolts;
    dict["mains_hz"] = spur.MainsHz > 0 ? py::object(py::int_(spur.MainsHz)) : py::object(py::none());
    dict["harmonic"] = spur.MainsHz > 0 ? py::object(py::int_(spur.Harmonic)) : py::object(py::none());
    return dict;
}

} // namespace

py::dict AnalysisDicts::Settings(const MeasureSettings& s)
{
    py::dict dict;
    dict["rate"] = MeasureItems::RateItem(s.spsSel).toStdString();
    dict["rate_hz"] = MeasureItems::NominalRate(s.spsSel);
    dict["sample_rate_hz"] = MeasureItems::SampleRate(s);
    dict["count"] = MeasureItems::CountValue(s.DataCountSel);
    dict["channel"] = s.CHSel;
    dict["channel_name"] = MeasureItems::ChannelItem(s.CHSel).toStdString();
    dict["filter"] = MeasureItems::FilterItem(s.fSinc5).toStdString();
    dict["buffer_on"] = s.fBUF_ON != 0;
    return dict;
}

py::dict AnalysisDicts::Histogram(const CodeHistogram& histogram)
{
    py::dict dict;
    dict["first_code"] = histogram.FirstCode;
    dict["bin_codes"] = histogram.BinCodes;
    dict["counts"] = py::array_t<std::int64_t>(static_cast<py::ssize_t>(histogram.Counts.size()), histogram.Counts.data());
    dict["mean_code"] = histogram.Mean;
    dict["sigma_codes"] = histogram.Sigma;
    return dict;
}

py::object AnalysisDicts::Spectrum(const ChannelAnalysis& channel)
{
    if (!channel.Spectrum)
        return py::none();
    const NoiseDensity& density = *channel.Spectrum;
    py::array_t<double> frequencies(static_cast<py::ssize_t>(density.Density.size()));
    auto f = frequencies.mutable_unchecked<1>();
    for (std::size_t k = 0; k < density.Density.size(); ++k)
        f(static_cast<py::ssize_t>(k)) = density.FrequencyOf(k);
    py::list spurs;
    for (const Spur& spur : channel.Spurs)
        spurs.append(SpurDict(spur));
    py::dict dict;
    dict["frequencies"] = frequencies;
    dict["density"] = py::array_t<double>(static_cast<py::ssize_t>(density.Density.size()), density.Density.data());
    dict["sample_rate_hz"] = density.SampleRate;
    dict["bin_hz"] = density.BinHz;
    dict["segment_length"] = density.SegmentLength;
    dict["segments"] = density.Segments;
    dict["median_density_uV_per_rtHz"] = density.MedianDensity();
    dict["spurs"] = spurs;
    return std::move(dict);
}

py::dict AnalysisDicts::Channel(const ChannelAnalysis& channel)
{
    py::dict dict;
    dict["channel"] = channel.Figures.Channel;
    dict["histogram"] = Histogram(channel.Histogram);
    dict["spectrum"] = Spectrum(channel);
    dict["no_spectrum"] = channel.NoSpectrum.toStdString();
    return dict;
}
