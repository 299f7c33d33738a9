#include "ZoomRange.h"

#include "CodeScale.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

// The value axis stays within a scale either side of the converter's own,
// which keeps every code on it inside the integers the graph scans with.
constexpr double LowestValue = -static_cast<double>(CodeScale::FullScale);
constexpr double HighestValue = 2.0 * CodeScale::FullScale;
// Below one code the axis has nothing more to show.
constexpr double NarrowestValues = 1;

} // namespace

void ZoomRange::Reset(std::int64_t extent)
{
    Extent = std::max<std::int64_t>(extent, 1);
    Start = 0;
    Span = Extent - 1;
    ValuesGiven = false;
}

bool ZoomRange::IsAuto() const
{
    return !ValuesGiven && Span == Extent - 1;
}

std::int64_t ZoomRange::First() const
{
    return std::llround(Start);
}

std::int64_t ZoomRange::Last() const
{
    return First() + Span;
}

void ZoomRange::ZoomSamples(double factor, double anchor)
{
    const std::int64_t span = std::llround(static_cast<double>(Span) * factor);
    const std::int64_t newSpan = std::clamp(span, std::min(FewestSamples - 1, Extent - 1), Extent - 1);
    if (Span > 0)
        Start = anchor - (anchor - Start) * static_cast<double>(newSpan) / static_cast<double>(Span);
    Span = newSpan;
    KeepSamplesInRun();
}

void ZoomRange::PanSamples(double samples)
{
    Start += samples;
    KeepSamplesInRun();
}

void ZoomRange::ShowSamples(double from, double to)
{
    if (from > to)
        std::swap(from, to);
    const std::int64_t span = std::llround(to - from);
    Span = std::clamp(span, std::min(FewestSamples - 1, Extent - 1), Extent - 1);
    Start = (from + to - static_cast<double>(Span)) / 2;
    KeepSamplesInRun();
}

void ZoomRange::SetValues(double low, double high)
{
    if (low > high)
        std::swap(low, high);
    const double middle = (low + high) / 2;
    const double half = std::clamp(high - low, NarrowestValues, HighestValue - LowestValue) / 2;
    ValueLow = std::clamp(middle - half, LowestValue, HighestValue - 2 * half);
    ValueHigh = ValueLow + 2 * half;
    ValuesGiven = true;
}

void ZoomRange::ZoomValues(double factor, double anchor)
{
    SetValues(anchor + (ValueLow - anchor) * factor, anchor + (ValueHigh - anchor) * factor);
}

void ZoomRange::PanValues(double codes)
{
    SetValues(ValueLow + codes, ValueHigh + codes);
}

void ZoomRange::FitValues()
{
    ValuesGiven = false;
}

void ZoomRange::KeepSamplesInRun()
{
    Start = std::clamp(Start, 0.0, static_cast<double>(Extent - 1 - Span));
}
