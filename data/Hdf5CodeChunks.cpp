#include "Hdf5CodeChunks.h"

#include "ChunkCodec.h"
#include "Hdf5Handle.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <thread>
#include <vector>

namespace {

constexpr std::size_t CodeBytes = sizeof(std::int32_t);
// Bits of a chunk's filter mask: a set bit is a filter skipped for it (the
// two are optional: a chunk that deflate would grow is kept as it is).
constexpr unsigned SkippedShuffle = 1u << 0;
constexpr unsigned SkippedDeflate = 1u << 1;

struct StoredChunk {
    std::int64_t Index = 0;
    unsigned SkippedFilters = 0;
    std::size_t At = 0;  // in the stored bytes of all the read's chunks
    std::size_t Bytes = 0;
};

bool LittleEndianHost()
{
    const std::uint32_t one = 1;
    unsigned char first = 0;
    std::memcpy(&first, &one, 1);
    return first == 1;
}

bool FilterIs(hid_t properties, unsigned index, H5Z_filter_t filter)
{
    unsigned flags = 0;
    std::size_t values = 0;
    unsigned config = 0;
    return H5Pget_filter2(properties, index, &flags, &values, nullptr, 0, nullptr, &config) == filter;
}

// The shuffle filter stores byte k of every code together.
void Unshuffle(const unsigned char* in, std::size_t codes, std::int32_t* out)
{
    const unsigned char* b0 = in;
    const unsigned char* b1 = in + codes;
    const unsigned char* b2 = in + 2 * codes;
    const unsigned char* b3 = in + 3 * codes;
    for (std::size_t i = 0; i < codes; ++i)
        out[i] = static_cast<std::int32_t>(std::uint32_t{b0[i]} | std::uint32_t{b1[i]} << 8 | std::uint32_t{b2[i]} << 16
                                           | std::uint32_t{b3[i]} << 24);
}

// One stored chunk back to its codes (a chunk's worth); false when it does
// not inflate to exactly that size.
bool Decode(const unsigned char* stored, std::size_t storedBytes, unsigned skipped, ChunkCodec& codec,
            std::vector<unsigned char>& inflated, std::int32_t* codes, std::size_t count)
{
    const std::size_t bytes = count * CodeBytes;
    if (!(skipped & SkippedDeflate)) {
        if (!codec.Inflate(stored, storedBytes, inflated.data(), bytes))
            return false;
        stored = inflated.data();
    } else if (storedBytes != bytes) {
        return false;
    }
    if (skipped & SkippedShuffle)
        std::memcpy(codes, stored, bytes);
    else
        Unshuffle(stored, count, codes);
    return true;
}

} // namespace

std::optional<Hdf5CodeChunks> Hdf5CodeChunks::For(hid_t codes, int channels)
{
    const Hdf5Handle type(H5Dget_type(codes), H5Tclose);
    const Hdf5Handle properties(H5Dget_create_plist(codes), H5Pclose);
    if (!LittleEndianHost() || !type.Valid() || H5Tequal(type.Id(), H5T_STD_I32LE) <= 0 || !properties.Valid()
        || H5Pget_layout(properties.Id()) != H5D_CHUNKED)
        return std::nullopt;
    hsize_t chunk[2] = {0, 0};
    if (H5Pget_chunk(properties.Id(), 2, chunk) != (channels == 2 ? 2 : 1) || chunk[0] == 0
        || (channels == 2 && chunk[1] != 2))
        return std::nullopt;
    // A slow log keeps its partial last chunk unfiltered, which the chunk's
    // filter mask does not tell.
    unsigned options = 0;
    if (H5Pget_chunk_opts(properties.Id(), &options) < 0 || (options & H5D_CHUNK_DONT_FILTER_PARTIAL_CHUNKS))
        return std::nullopt;
    if (H5Pget_nfilters(properties.Id()) != 2 || !FilterIs(properties.Id(), 0, H5Z_FILTER_SHUFFLE)
        || !FilterIs(properties.Id(), 1, H5Z_FILTER_DEFLATE))
        return std::nullopt;
    return Hdf5CodeChunks(static_cast<std::int64_t>(chunk[0]), channels);
}

// The stored chunks are read first, on this thread as HDF5 wants; the two
// halves are then decoded at once, a whole chunk straight to its place in
// `out`, the partial ones at the ends through a chunk of room.
bool Hdf5CodeChunks::Read(hid_t codes, std::int64_t first, std::int64_t count, std::int32_t* out) const
{
    const std::size_t chunkCodes = static_cast<std::size_t>(rows_) * static_cast<std::size_t>(channels_);
    const std::size_t largest = compressBound(static_cast<uLong>(chunkCodes * CodeBytes)) + 64;
    std::vector<StoredChunk> chunks;
    std::vector<unsigned char> stored;
    for (std::int64_t k = first / rows_; k * rows_ < first + count; ++k) {
        const hsize_t offset[2] = {static_cast<hsize_t>(k * rows_), 0};
        hsize_t size = 0;
        if (H5Dget_chunk_storage_size(codes, offset, &size) < 0 || size == 0 || size > largest)
            return false;
        StoredChunk chunk{k, 0, stored.size(), static_cast<std::size_t>(size)};
        stored.resize(stored.size() + chunk.Bytes);
        std::uint32_t mask = 0;
        if (H5Dread_chunk(codes, H5P_DEFAULT, offset, &mask, stored.data() + chunk.At) < 0)
            return false;
        chunk.SkippedFilters = mask;
        chunks.push_back(chunk);
    }
    const auto decode = [&](std::size_t from, std::size_t to) {
        ChunkCodec codec;
        std::vector<unsigned char> inflated(chunkCodes * CodeBytes);
        std::vector<std::int32_t> partial(chunkCodes);
        for (std::size_t i = from; i < to; ++i) {
            const StoredChunk& chunk = chunks[i];
            const std::int64_t chunkFirst = chunk.Index * rows_;
            const std::int64_t start = std::max(first, chunkFirst);
            const std::int64_t end = std::min(first + count, chunkFirst + rows_);
            std::int32_t* place = out + (start - first) * channels_;
            const bool whole = end - start == rows_;
            if (!Decode(stored.data() + chunk.At, chunk.Bytes, chunk.SkippedFilters, codec, inflated,
                        whole ? place : partial.data(), chunkCodes))
                return false;
            if (!whole)
                std::copy_n(partial.data() + (start - chunkFirst) * channels_, (end - start) * channels_, place);
        }
        return true;
    };
    const std::size_t half = chunks.size() / 2;
    bool secondHalf = false;
    std::thread helper([&] { secondHalf = decode(half, chunks.size()); });
    const bool firstHalf = decode(0, half);
    helper.join();
    return firstHalf && secondHalf;
}
