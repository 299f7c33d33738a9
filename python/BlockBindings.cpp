#include "BlockBindings.h"

#include "AnalysisDicts.h"
#include "ChannelStream.h"
#include "CodeScale.h"
#include "LogBlocks.h"
#include "WelchDensity.h"

#include <pybind11/numpy.h>

namespace py = pybind11;

namespace {

template <typename Sample>
using Block = py::array_t<Sample, py::array::c_style | py::array::forcecast>;

// One column of a C-ordered (n,) or (n, k) block, read in place.
template <typename Sample>
struct Column {
    const Sample* Data = nullptr;
    std::int64_t Count = 0;
    std::int64_t Stride = 1;
};

template <typename Sample>
Column<Sample> ColumnOf(const Block<Sample>& block, int column)
{
    if (block.ndim() != 1 && block.ndim() != 2)
        throw py::value_error("a block is an array of shape (n,) or (n, k)");
    const std::int64_t columns = block.ndim() == 2 ? block.shape(1) : 1;
    if (column < 0 || column >= columns)
        throw py::value_error("column " + std::to_string(column) + " is not in a block of " + std::to_string(columns) +
                              " column(s)");
    return {block.data() + column, block.shape(0), columns};
}

template <typename Value>
py::array_t<Value> Array(const std::vector<Value>& values)
{
    return py::array_t<Value>(static_cast<py::ssize_t>(values.size()), values.data());
}

// A long double as two doubles whose sum it is exactly (its 64-bit
// mantissa fits in two 53-bit ones), so a partial result pickles without
// loss and on any platform.
py::tuple Split(long double value)
{
    const double high = static_cast<double>(value);
    return py::make_tuple(high, static_cast<double>(value - high));
}

long double Join(const py::handle& parts)
{
    const auto pair = parts.cast<py::tuple>();
    return static_cast<long double>(pair[0].cast<double>()) + static_cast<long double>(pair[1].cast<double>());
}

py::tuple MomentsParts(const SampleMoments& m)
{
    return py::make_tuple(m.Count(), Split(m.Mean()), Split(m.Squares()), m.Smallest(), m.Largest());
}

SampleMoments MomentsFrom(const py::tuple& t)
{
    return SampleMoments::FromParts(t[0].cast<std::int64_t>(), Join(t[1]), Join(t[2]), t[3].cast<double>(),
                                    t[4].cast<double>());
}

py::tuple CountsParts(const CodeCounts& c)
{
    return py::make_tuple(c.FirstCode(), Array(c.Counts()));
}

CodeCounts CountsFrom(const py::tuple& t)
{
    const auto counts = t[1].cast<Block<std::int64_t>>();
    return CodeCounts::FromParts(t[0].cast<std::int32_t>(),
                                 std::vector<std::int64_t>(counts.data(), counts.data() + counts.size()));
}

py::tuple WelchParts(const WelchSums& w)
{
    return py::make_tuple(w.Length(), w.Segments(), Array(w.Summed()));
}

WelchSums WelchFrom(const py::tuple& t)
{
    const auto summed = t[2].cast<Block<double>>();
    return WelchSums::FromParts(t[0].cast<std::int32_t>(), t[1].cast<std::int64_t>(),
                                std::vector<double>(summed.data(), summed.data() + summed.size()));
}

py::tuple StreamParts(const ChannelStream& s)
{
    return py::make_tuple(s.GainDivisor(), MomentsParts(s.CodeMoments()), MomentsParts(s.MicrovoltMoments()),
                          CountsParts(s.Counts()), WelchParts(s.Welch()));
}

ChannelStream StreamFrom(const py::tuple& t)
{
    return ChannelStream::FromParts(t[0].cast<std::int32_t>(), MomentsFrom(t[1]), MomentsFrom(t[2]),
                                    CountsFrom(t[3]), WelchFrom(t[4]));
}

// a merged with b, neither changed: partial results are values.
template <typename Partial>
Partial Merged(const Partial& a, const Partial& b)
{
    Partial merged = a;
    merged.Merge(b);
    return merged;
}

template <typename Sample>
SampleMoments MomentsOf(const Block<Sample>& block, int column)
{
    const Column<Sample> c = ColumnOf(block, column);
    SampleMoments moments;
    py::gil_scoped_release released;
    moments.Add(c.Data, c.Count, c.Stride);
    return moments;
}

void CheckSpan(std::int64_t first, std::int64_t owned, std::int64_t available)
{
    if (first < 0 || owned < 0 || owned > available)
        throw py::value_error("a block needs first >= 0 and 0 <= owned <= its length (" + std::to_string(available) +
                              "), the rest being look-ahead");
}

py::object DensityDict(const WelchSums& welch, double sampleRate)
{
    const std::optional<NoiseDensity> density = welch.Density(sampleRate);
    if (!density)
        return py::none();
    ChannelAnalysis channel;
    channel.Spectrum = density;
    return AnalysisDicts::Spectrum(channel);
}

} // namespace

void BlockBindings::Define(py::module_& module)
{
    module.attr("BLOCK_SAMPLES") = LogBlocks::BlockSamples;
    module.def("segment_length", &WelchDensity::SegmentLength);

    py::class_<SampleMoments>(module, "Moments")
        .def_property_readonly("count", &SampleMoments::Count)
        .def_property_readonly("mean", [](const SampleMoments& m) { return static_cast<double>(m.Mean()); })
        .def_property_readonly("squares", [](const SampleMoments& m) { return static_cast<double>(m.Squares()); })
        .def_property_readonly("variance", [](const SampleMoments& m) { return static_cast<double>(m.Variance()); })
        .def_property_readonly("min", &SampleMoments::Smallest)
        .def_property_readonly("max", &SampleMoments::Largest)
        .def("merge", &Merged<SampleMoments>)
        .def(py::pickle(&MomentsParts, &MomentsFrom));
    // Codes as int32, anything else (microvolts) as the window's floats.
    module.def("moments", [](const py::array& block, int column) {
        if (block.dtype().kind() == 'i' || block.dtype().kind() == 'u')
            return MomentsOf(block.cast<Block<std::int32_t>>(), column);
        return MomentsOf(block.cast<Block<float>>(), column);
    }, py::arg("block"), py::arg("column") = 0);

    py::class_<CodeCounts>(module, "CodeCounts")
        .def_property_readonly("first_code", &CodeCounts::FirstCode)
        .def_property_readonly("counts", [](const CodeCounts& c) { return Array(c.Counts()); })
        .def_property_readonly("total", &CodeCounts::Total)
        .def("histogram", [](const CodeCounts& c, double mean, double sigma) {
            return AnalysisDicts::Histogram(c.Histogram(mean, sigma));
        })
        .def("merge", &Merged<CodeCounts>)
        .def(py::pickle(&CountsParts, &CountsFrom));
    module.def("code_counts", [](const Block<std::int32_t>& block, int column) {
        const Column<std::int32_t> c = ColumnOf(block, column);
        CodeCounts counts;
        py::gil_scoped_release released;
        counts.Add(c.Data, c.Count, c.Stride);
        return counts;
    }, py::arg("block"), py::arg("column") = 0);

    py::class_<WelchSums>(module, "WelchSums")
        .def_property_readonly("length", &WelchSums::Length)
        .def_property_readonly("segments", &WelchSums::Segments)
        .def_property_readonly("summed", [](const WelchSums& w) { return Array(w.Summed()); })
        .def("density", &DensityDict)
        .def("merge", &Merged<WelchSums>)
        .def(py::pickle(&WelchParts, &WelchFrom));
    module.def("welch_sums", [](const Block<float>& block, std::int64_t first, std::int64_t owned, std::int32_t length,
                                int column) {
        const Column<float> c = ColumnOf(block, column);
        CheckSpan(first, owned, c.Count);
        WelchSums sums(length);
        py::gil_scoped_release released;
        sums.Add(c.Data, first, owned, c.Count, c.Stride);
        return sums;
    }, py::arg("block"), py::arg("first"), py::arg("owned"), py::arg("length"), py::arg("column") = 0);

    py::class_<ChannelStream>(module, "ChannelStream")
        .def_property_readonly("gain_divisor", &ChannelStream::GainDivisor)
        .def_property_readonly("code_moments", &ChannelStream::CodeMoments)
        .def_property_readonly("microvolt_moments", &ChannelStream::MicrovoltMoments)
        .def_property_readonly("code_counts", &ChannelStream::Counts)
        .def_property_readonly("welch_sums", &ChannelStream::Welch)
        .def("merge", &Merged<ChannelStream>)
        .def(py::pickle(&StreamParts, &StreamFrom));
    module.def("channel_stream", [](const Block<std::int32_t>& block, std::int64_t first, std::int64_t owned,
                                    std::int64_t total, std::int32_t gainDivisor, int column) {
        const Column<std::int32_t> c = ColumnOf(block, column);
        CheckSpan(first, owned, c.Count);
        ChannelStream stream(total, gainDivisor);
        py::gil_scoped_release released;
        stream.Add(c.Data, first, owned, c.Count, c.Stride);
        return stream;
    }, py::arg("block"), py::arg("first"), py::arg("owned"), py::arg("total"), py::arg("gain_divisor") = 1,
       py::arg("column") = 0);

    module.def("microvolts", [](const Block<std::int32_t>& codes, std::int32_t gainDivisor) {
        py::array_t<float> microvolts(std::vector<py::ssize_t>(codes.shape(), codes.shape() + codes.ndim()));
        const std::int32_t* in = codes.data();
        float* out = microvolts.mutable_data();
        const py::ssize_t n = codes.size();
        py::gil_scoped_release released;
        for (py::ssize_t i = 0; i < n; ++i)
            out[i] = static_cast<float>(CodeScale::CodeToMicrovolts(in[i], gainDivisor));
        return microvolts;
    }, py::arg("codes"), py::arg("gain_divisor") = 1);
}
