#pragma once

#include <cstddef>

// Deflates and inflates one zlib stream (the log's chunks): with libdeflate
// where the build has it (Debian), faster than zlib both ways, and with zlib
// where it has not (the Windows SDK). One codec a thread.
class ChunkCodec {
public:
    ChunkCodec();
    ~ChunkCodec();
    ChunkCodec(const ChunkCodec&) = delete;
    ChunkCodec& operator=(const ChunkCodec&) = delete;

    // True when `in` inflates to exactly `outBytes` bytes, its Adler-32 sum
    // checked.
    bool Inflate(const unsigned char* in, std::size_t inBytes, unsigned char* out, std::size_t outBytes);

    // The most that Deflate may make of `inBytes` bytes.
    std::size_t DeflateBound(std::size_t inBytes);
    // `in` deflated at `level` into `out`; its size, or 0 when it cannot be.
    std::size_t Deflate(const unsigned char* in, std::size_t inBytes, unsigned char* out, std::size_t outRoom,
                        int level);

private:
    void* inflater_ = nullptr;  // libdeflate's; zlib keeps none
    void* deflater_ = nullptr;
    int deflaterLevel_ = -1;
};
