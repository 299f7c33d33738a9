#include "ChunkCodec.h"

#include <libdeflate.h>

namespace {

libdeflate_compressor* Compressor(void* state)
{
    return static_cast<libdeflate_compressor*>(state);
}

} // namespace

ChunkCodec::ChunkCodec()
    : inflater_(libdeflate_alloc_decompressor())
{
}

ChunkCodec::~ChunkCodec()
{
    libdeflate_free_decompressor(static_cast<libdeflate_decompressor*>(inflater_));
    libdeflate_free_compressor(Compressor(deflater_));
}

bool ChunkCodec::Inflate(const unsigned char* in, std::size_t inBytes, unsigned char* out, std::size_t outBytes)
{
    std::size_t inflated = 0;
    return inflater_ != nullptr
        && libdeflate_zlib_decompress(static_cast<libdeflate_decompressor*>(inflater_), in, inBytes, out, outBytes,
                                      &inflated)
        == LIBDEFLATE_SUCCESS
        && inflated == outBytes;
}

// libdeflate's bound holds for any level, with no compressor given.
std::size_t ChunkCodec::DeflateBound(std::size_t inBytes)
{
    return libdeflate_zlib_compress_bound(nullptr, inBytes);
}

std::size_t ChunkCodec::Deflate(const unsigned char* in, std::size_t inBytes, unsigned char* out, std::size_t outRoom,
                                int level)
{
    if (deflaterLevel_ != level) {
        libdeflate_free_compressor(Compressor(deflater_));
        deflater_ = libdeflate_alloc_compressor(level);
        deflaterLevel_ = deflater_ != nullptr ? level : -1;
    }
    return deflater_ != nullptr ? libdeflate_zlib_compress(Compressor(deflater_), in, inBytes, out, outRoom) : 0;
}
