#pragma once

#include "ChannelReport.h"
#include "MeasureSettings.h"
#include "SampleMoments.h"

#include <QDateTime>

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

class RunData;

// One second of a log: its samples (pairs) and each channel's figures over
// exactly them.
struct SecondSummary {
    QDateTime Second;  // its start, UTC
    std::int64_t Samples = 0;
    std::vector<ChannelReport> Channels;  // CH0 first; the one channel measured alone
};

// A log's samples gathered by the whole UTC second they belong to (a
// sample's time is its run's start plus its index at the nominal rate), as
// `info --from S --to S+1` would pick them. A second is done when a sample
// of a later second comes, or at Finish; runs that share a second share its
// summary.
class SecondFigures {
public:
    using Done = std::function<void(const SecondSummary&)>;

    SecondFigures(const MeasureSettings& settings, Done done);

    // start: the run's start as the log writes it, "2026-12-08T21:40:12.345Z".
    void RunStarted(const std::string& start);
    // Samples [from, to) of the run's code arrays.
    void Samples(const RunData& run, std::int32_t from, std::int32_t to);
    // The last second, however few samples it holds.
    void Finish();

private:
    struct Channel {
        int Number = 0;
        SampleMoments Codes;
        SampleMoments Microvolts;
    };

    void Add(const RunData& run, std::int32_t from, std::int32_t to);
    void Emit();
    std::int64_t BoundaryAfter(const QDateTime& second) const;

    MeasureSettings settings_;
    double rate_;
    Done done_;
    std::vector<Channel> channels_;
    std::optional<QDateTime> second_;  // the second being gathered
    QDateTime runStart_;
    std::int64_t boundary_ = 0;  // the run's first index of the next second
    std::vector<float> microvolts_;  // kept between blocks
};
