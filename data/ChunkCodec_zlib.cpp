#include "ChunkCodec.h"

#include <zlib.h>

ChunkCodec::ChunkCodec() = default;

ChunkCodec::~ChunkCodec() = default;

bool ChunkCodec::Inflate(const unsigned char* in, std::size_t inBytes, unsigned char* out, std::size_t outBytes)
{
    uLongf size = static_cast<uLongf>(outBytes);
    return uncompress(out, &size, in, static_cast<uLong>(inBytes)) == Z_OK && size == outBytes;
}

std::size_t ChunkCodec::DeflateBound(std::size_t inBytes)
{
    return compressBound(static_cast<uLong>(inBytes));
}

std::size_t ChunkCodec::Deflate(const unsigned char* in, std::size_t inBytes, unsigned char* out, std::size_t outRoom,
                                int level)
{
    uLongf size = static_cast<uLongf>(outRoom);
    return compress2(out, &size, in, static_cast<uLong>(inBytes), level) == Z_OK ? size : 0;
}
