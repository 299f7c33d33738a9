#pragma once

#include "ChunkCodec.h"

#include <hdf5.h>

#include <cstdint>
#include <vector>

// Writes rows of codes into the log's /codes (32-bit little-endian codes,
// chunks of whole rows, shuffle then deflate): each chunk a write fills
// whole is shuffled and deflated here, as HDF5's two filters would, and
// written straight into the file, with no pass through HDF5's filter
// pipeline or chunk cache; libdeflate does it in about half zlib's time.
// What does not fill a chunk, at either end, goes through H5Dwrite.
class Hdf5ChunkWriter {
public:
    Hdf5ChunkWriter(std::int64_t chunkRows, int channels, int deflateLevel);

    // `count` rows from row `first` on; the dataset holds them already.
    bool Write(hid_t dataset, std::int64_t first, const std::int32_t* codes, std::int64_t count);

private:
    bool WriteThroughHdf5(hid_t dataset, std::int64_t first, const std::int32_t* codes, std::int64_t count);
    bool WriteWholeChunk(hid_t dataset, std::int64_t first, const std::int32_t* codes);

    std::int64_t chunkRows_;
    int channels_;
    int deflateLevel_;
    ChunkCodec codec_;
    std::vector<unsigned char> shuffled_;
    std::vector<unsigned char> deflated_;
};
