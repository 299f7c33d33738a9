#include "ChunkInflater.h"

#include <libdeflate.h>

ChunkInflater::ChunkInflater()
    : state_(libdeflate_alloc_decompressor())
{
}

ChunkInflater::~ChunkInflater()
{
    libdeflate_free_decompressor(static_cast<libdeflate_decompressor*>(state_));
}

bool ChunkInflater::Inflate(const unsigned char* in, std::size_t inBytes, unsigned char* out, std::size_t outBytes)
{
    std::size_t inflated = 0;
    return state_ != nullptr
        && libdeflate_zlib_decompress(static_cast<libdeflate_decompressor*>(state_), in, inBytes, out, outBytes, &inflated)
        == LIBDEFLATE_SUCCESS
        && inflated == outBytes;
}
