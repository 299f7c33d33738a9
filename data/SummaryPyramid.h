#pragma once

#include "BlockSummary.h"

#include <cstdint>
#include <vector>

// The block summaries of a stream of codes (LogLayout's /summary), made as
// the codes come: a level-1 row of each whole block of SummaryBlock samples
// (pairs), a row of each level above from SummaryFanOut rows of the one
// below. A row holds a summary per channel. The samples of a block not yet
// whole are kept until it is, and make no row.
class SummaryPyramid {
public:
    explicit SummaryPyramid(int channels);

    // Samples (pairs) row by row, following those added before.
    void Add(const std::int32_t* codes, std::int64_t count);
    // The rows made since the last Clear of level 1 .. SummaryLevels, in
    // order: Channels() summaries a row.
    const std::vector<BlockSummary>& Made(int level) const;
    void Clear();

    // The samples (pairs) a row of `level` covers.
    static std::int64_t RowSamples(int level);

private:
    void AddBlock(const std::int32_t* codes);
    void AddRow(int level, const BlockSummary* row);

    int channels_;
    std::vector<std::int32_t> partial_;  // the block not yet whole
    std::vector<std::vector<BlockSummary>> made_;    // by level − 1
    std::vector<std::vector<BlockSummary>> joined_;  // the row each level is joining, by level − 1
    std::vector<int> joinedRows_;                    // rows joined into it
};
