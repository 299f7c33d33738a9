#pragma once

#include "CodeHistogram.h"

#include <cstdint>
#include <map>
#include <vector>

// How often each code occurs in a stream of codes, exactly, taken a block at
// a time: one counter per code between the smallest and the largest seen, so
// the memory follows the codes' spread and never the stream's length. A
// counter holds 32 bits; the rare code counted 2^32 times or more keeps the
// rest in a side table. So the converter's whole range takes 64 MiB, and
// both channels of a signal that sweeps it stay well within a few hundred.
// Finished into the report's binned histogram with the mean and σ of the
// samples' moments.
class CodeCounts {
public:
    // `count` codes `stride` elements apart.
    void Add(const std::int32_t* codes, std::int64_t count, std::int64_t stride = 1);
    void Merge(const CodeCounts& other);

    // A partial result rebuilt from its parts, as another process sent them.
    static CodeCounts FromParts(std::int32_t firstCode, const std::vector<std::int64_t>& counts);

    // The first code counted and the count of it and of each code above it;
    // the counters may reach a little beyond the extremes seen (with 0).
    std::int32_t FirstCode() const { return first_; }
    std::vector<std::int64_t> Counts() const;
    std::int64_t Total() const;

    // As CodeHistogram::Of bins the same codes, with the given mean and
    // population σ in codes.
    CodeHistogram Histogram(double mean, double sigma, int mostBins = CodeHistogram::MostBins) const;

private:
    // Makes room for [lowest, highest].
    void Cover(std::int32_t lowest, std::int32_t highest);
    std::int64_t CountAt(std::size_t index) const;
    void AddAt(std::size_t index, std::int64_t count);

    std::int32_t first_ = 0;
    std::vector<std::uint32_t> counts_;
    // By code: how many times 2^32 its counter has passed.
    std::map<std::int32_t, std::int64_t> wraps_;
};
