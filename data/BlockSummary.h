#pragma once

#include <cstdint>

// One channel's figures over a stretch of samples, as a row of a log's
// block summaries holds them: smallest, largest, count, the exact sum of
// the codes and the sum of squared deviations about the stretch's own mean
// (M2). Two stretches join by the parallel-merge formula of Chan, Golub and
// LeVeque, so that the deviation of any run of rows is that of its samples.
// The layout is the row's in memory (Hdf5LogRows::SummaryType).
struct BlockSummary {
    std::int32_t Min;
    std::int32_t Max;
    std::int64_t Count;
    std::int64_t Sum;
    double M2;

    // `count` samples `stride` elements apart (a column of pairs has stride 2).
    static BlockSummary Of(const std::int32_t* codes, std::int64_t count, std::int64_t stride);
    // As if other's samples followed this one's; an empty summary (Count 0)
    // takes the other whole.
    void Merge(const BlockSummary& other);
    // What is wrong with a row that claims to cover `count` converter codes,
    // or null: a count not that, codes out of range, a sum outside count ·
    // [min, max], an M2 below zero or above what the range allows.
    const char* Fault(std::int64_t count) const;
};
