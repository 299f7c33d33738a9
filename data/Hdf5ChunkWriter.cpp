#include "Hdf5ChunkWriter.h"

#include "Hdf5Handle.h"

#include <algorithm>

namespace {

constexpr std::size_t CodeBytes = 4;

// What HDF5's shuffle filter stores: byte k of every code together, the
// codes' little-endian bytes in order.
void Shuffle(const std::int32_t* codes, std::size_t count, unsigned char* out)
{
    unsigned char* b0 = out;
    unsigned char* b1 = out + count;
    unsigned char* b2 = out + 2 * count;
    unsigned char* b3 = out + 3 * count;
    for (std::size_t i = 0; i < count; ++i) {
        const auto code = static_cast<std::uint32_t>(codes[i]);
        b0[i] = static_cast<unsigned char>(code);
        b1[i] = static_cast<unsigned char>(code >> 8);
        b2[i] = static_cast<unsigned char>(code >> 16);
        b3[i] = static_cast<unsigned char>(code >> 24);
    }
}

} // namespace

Hdf5ChunkWriter::Hdf5ChunkWriter(std::int64_t chunkRows, int channels, int deflateLevel)
    : chunkRows_(chunkRows)
    , channels_(channels)
    , deflateLevel_(deflateLevel)
    , shuffled_(static_cast<std::size_t>(chunkRows * channels) * CodeBytes)
    , deflated_(codec_.DeflateBound(shuffled_.size()))
{
}

bool Hdf5ChunkWriter::Write(hid_t dataset, std::int64_t first, const std::int32_t* codes, std::int64_t count)
{
    const std::int64_t head = std::min(count, (chunkRows_ - first % chunkRows_) % chunkRows_);
    if (head > 0 && !WriteThroughHdf5(dataset, first, codes, head))
        return false;
    std::int64_t done = head;
    for (; count - done >= chunkRows_; done += chunkRows_) {
        if (!WriteWholeChunk(dataset, first + done, codes + done * channels_))
            return false;
    }
    return done == count || WriteThroughHdf5(dataset, first + done, codes + done * channels_, count - done);
}

bool Hdf5ChunkWriter::WriteThroughHdf5(hid_t dataset, std::int64_t first, const std::int32_t* codes,
                                       std::int64_t count)
{
    const hsize_t start[2] = {static_cast<hsize_t>(first), 0};
    const hsize_t length[2] = {static_cast<hsize_t>(count), 2};
    const Hdf5Handle space(H5Dget_space(dataset), H5Sclose);
    const Hdf5Handle memory(H5Screate_simple(channels_, length, nullptr), H5Sclose);
    return H5Sselect_hyperslab(space.Id(), H5S_SELECT_SET, start, nullptr, length, nullptr) >= 0
        && H5Dwrite(dataset, H5T_NATIVE_INT32, memory.Id(), space.Id(), H5P_DEFAULT, codes) >= 0;
}

// A chunk that does not deflate (it cannot: the bound is the worst case)
// still goes through HDF5.
bool Hdf5ChunkWriter::WriteWholeChunk(hid_t dataset, std::int64_t first, const std::int32_t* codes)
{
    Shuffle(codes, static_cast<std::size_t>(chunkRows_ * channels_), shuffled_.data());
    const std::size_t size =
        codec_.Deflate(shuffled_.data(), shuffled_.size(), deflated_.data(), deflated_.size(), deflateLevel_);
    if (size == 0)
        return WriteThroughHdf5(dataset, first, codes, chunkRows_);
    const hsize_t offset[2] = {static_cast<hsize_t>(first), 0};
    return H5Dwrite_chunk(dataset, H5P_DEFAULT, 0, offset, size, deflated_.data()) >= 0;
}
