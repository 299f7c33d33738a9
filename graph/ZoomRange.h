#pragma once

#include <cstdint>

// Which part of a run the graph shows. Auto is the whole run, auto-ranged,
// as after every new data; otherwise a stretch of samples, First() to
// Last(), with the value axis either fitted to them or set to a range of
// codes the operator chose. Positions are kept as real numbers so that
// small steps of a drag add up; the graph draws whole samples. Counted in
// 64 bits: a log window shows a day of samples, billions of them.
class ZoomRange {
public:
    // The fewest samples a stretch shows.
    static constexpr std::int64_t FewestSamples = 10;

    // The auto view of samples 0 .. extent - 1.
    void Reset(std::int64_t extent);
    // True while nothing narrows the whole run or fixes the value axis.
    bool IsAuto() const;

    std::int64_t First() const;
    std::int64_t Last() const;

    // Whether the value axis is set, and to what (in codes, Low < High).
    bool ValuesSet() const { return ValuesGiven; }
    double Low() const { return ValueLow; }
    double High() const { return ValueHigh; }

    // Samples: factor < 1 shows fewer, keeping the sample at anchor in place.
    void ZoomSamples(double factor, double anchor);
    void PanSamples(double samples);
    void ShowSamples(double from, double to);

    // Values, in codes.
    void SetValues(double low, double high);
    void ZoomValues(double factor, double anchor);
    void PanValues(double codes);
    // The value axis follows the samples shown again.
    void FitValues();

private:
    void KeepSamplesInRun();

    std::int64_t Extent = 1;
    double Start = 0;          // the first sample shown, before rounding
    std::int64_t Span = 0;     // Last() - First()
    bool ValuesGiven = false;
    double ValueLow = 0;
    double ValueHigh = 0;
};
