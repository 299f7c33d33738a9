#include "ChunkInflater.h"

#include <zlib.h>

ChunkInflater::ChunkInflater() = default;

ChunkInflater::~ChunkInflater() = default;

bool ChunkInflater::Inflate(const unsigned char* in, std::size_t inBytes, unsigned char* out, std::size_t outBytes)
{
    uLongf size = static_cast<uLongf>(outBytes);
    return uncompress(out, &size, in, static_cast<uLong>(inBytes)) == Z_OK && size == outBytes;
}
