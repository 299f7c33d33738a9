#pragma once

#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

class LogSource;

// A log's samples on the clock: a sample's time is its run's start plus its
// index in the run at the nominal rate; between runs time jumps (a gap).
// The time axis's ticks are round times that fall on a sample: steps of 1,
// 2 or 5 ms, s or min, of hours, or of days, about a given number of them,
// labelled as the step needs ("12:34:56.789", "12:34:56", "12:34", "12-09").
class LogTimeline {
public:
    struct Run {
        std::int64_t FirstSample = 0;
        std::int64_t Samples = 0;
        double StartMs = 0.0;  // since the epoch, UTC
    };
    struct Tick {
        std::int64_t Sample = 0;
        QString Label;
    };

    LogTimeline() = default;
    LogTimeline(std::vector<Run> runs, double rate);
    // The runs of a log; false with its Error() when they cannot be read.
    static std::optional<LogTimeline> Of(LogSource& log, double rate);

    // Milliseconds since the epoch; nothing past the last run.
    std::optional<double> TimeOf(std::int64_t sample) const;
    // Where something that happened at that time is marked: its sample, the
    // next run's first when it fell between runs, the last after the end.
    std::optional<std::int64_t> PositionOf(double ms) const;
    // The run holding the sample, counted from 0.
    std::optional<std::size_t> RunOf(std::int64_t sample) const;
    const std::vector<Run>& Runs() const { return runs_; }

    // Round times in samples first..last, in UTC or the local time zone.
    std::vector<Tick> Ticks(std::int64_t first, std::int64_t last, int most, bool utc) const;
    // "2026-12-09 12:34:56.789", for the readout.
    static QString Stamp(double ms, bool utc);

private:
    std::optional<std::int64_t> SampleAt(double ms) const;

    std::vector<Run> runs_;
    double rate_ = 1.0;
};
