#pragma once

#include <hdf5.h>

#include <cstdint>
#include <optional>

// Reads a stretch of a log's /codes chunk by chunk, undoing the shuffle and
// deflate filters itself on two threads: the log window's widest views of
// raw codes and a stretch's figures read millions of codes, and inflating
// them is most of that time, which H5Dread spends on one thread. Only for
// the layout this program writes at 64 samples a second and more (32-bit
// little-endian codes, chunks of whole rows, shuffle then deflate, partial
// chunks filtered too); any other /codes is read by H5Dread.
class Hdf5CodeChunks {
public:
    // The dataset's chunk rows when it is of that layout.
    static std::optional<Hdf5CodeChunks> For(hid_t codes, int channels);

    // Whether a read of `count` rows is worth the chunks' own decoding.
    bool Suits(std::int64_t count) const { return count >= MinimumChunks * rows_; }
    // Rows [first, first + count) into out, row by row; false for a chunk
    // not stored, not read, or not inflating to its size, which the caller
    // then reads by H5Dread, whose message says why.
    bool Read(hid_t codes, std::int64_t first, std::int64_t count, std::int32_t* out) const;

private:
    Hdf5CodeChunks(std::int64_t rows, int channels) : rows_(rows), channels_(channels) {}

    static constexpr std::int64_t MinimumChunks = 8;

    std::int64_t rows_;
    int channels_;
};
