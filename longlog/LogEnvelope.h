#pragma once

#include "ColumnExtremes.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

class LogSource;

// What the log window draws of a stretch of a log, first..last, over a
// number of pixel columns: each channel's lowest and highest code of every
// column, so that a one-sample spike shows at any zoom; or, once the stretch
// holds no more than two samples a column, the codes themselves, to be
// joined by lines as the main graph joins them. Where the log holds block
// summaries and a column spans at least a block, the extremes come from the
// coarsest level whose blocks fit a column: each block counts whole in the
// column of its first sample (the edges move by less than a column), and
// the samples after the last whole block are read as codes.
class LogEnvelope {
public:
    // Samples done of all; false cancels.
    using Progress = std::function<bool(std::int64_t done, std::int64_t total)>;

    // False when cancelled or a read failed (Error() names the log's reason).
    bool Read(LogSource& log, std::int64_t first, std::int64_t last, int columns, const Progress& progress = {});

    bool Raw() const { return raw_; }
    // The summary level the columns came from; 0 for the codes.
    int Level() const { return level_; }
    int Channels() const { return static_cast<int>(codes_.size()); }
    std::int64_t First() const { return first_; }
    std::int64_t Count() const { return count_; }
    // The columns of a channel (0 = the log's first column of codes).
    const ColumnExtremes& Columns(int channel) const { return columns_[static_cast<std::size_t>(channel)]; }
    // The codes of a channel, when Raw().
    const std::vector<float>& Codes(int channel) const { return codes_[static_cast<std::size_t>(channel)]; }
    // A channel's columns in microvolts, as a report's trace draws them.
    ColumnExtremes MicrovoltTrace(int channel, std::int32_t gainDivisor) const;
    // The mean code of a column of a channel; nothing for a column without
    // samples.
    std::optional<double> Mean(int channel, int column) const;
    // The lowest and highest code over every column of every channel.
    std::pair<float, float> Range() const;
    QString Error() const { return error_; }

private:
    // Codes read at a time: wide reads keep both of the reader's threads busy.
    static constexpr std::int64_t BlockSamples = 1 << 19;

    bool ReadBlocks(LogSource& log, std::int64_t from, std::int64_t count, const Progress& progress);
    void AddBlock(const std::int32_t* rows, std::int64_t first, std::int64_t count, int channels);
    // The coarsest level whose blocks a column holds, or 0 for the codes.
    static int LevelFor(const LogSource& log, std::int64_t samples, int columns);
    bool ReadLevel(LogSource& log, int level, std::int64_t from, const Progress& progress);
    // `count` samples summing to `sum`, the first the stretch's `sample`-th.
    void AddToMean(int channel, std::int64_t sample, double sum, std::int64_t count);
    void AddCodesToMeans(int channel, std::int64_t first, const std::int32_t* codes, std::int64_t count, int stride);

    std::int64_t first_ = 0;
    std::int64_t count_ = 0;
    bool raw_ = false;
    int level_ = 0;
    std::vector<ColumnExtremes> columns_;
    // Per channel and column, the sum and count of its samples.
    std::vector<std::vector<double>> sums_;
    std::vector<std::vector<std::int64_t>> counts_;
    std::vector<std::vector<float>> codes_;
    std::vector<float> values_;  // a block's codes as the columns take them
    QString error_;
};
