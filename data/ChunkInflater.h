#pragma once

#include <cstddef>

// Inflates one zlib stream whose inflated size is known, checking its
// Adler-32 sum: with libdeflate where the build has it (Debian), about half
// again as fast as zlib, and with zlib where it has not (the Windows SDK).
// One inflater a thread.
class ChunkInflater {
public:
    ChunkInflater();
    ~ChunkInflater();
    ChunkInflater(const ChunkInflater&) = delete;
    ChunkInflater& operator=(const ChunkInflater&) = delete;

    // True when `in` inflates to exactly `outBytes` bytes.
    bool Inflate(const unsigned char* in, std::size_t inBytes, unsigned char* out, std::size_t outBytes);

private:
    void* state_ = nullptr;  // libdeflate's decompressor; zlib keeps none
};
