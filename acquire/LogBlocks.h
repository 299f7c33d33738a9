#pragma once

#include <cstdint>
#include <functional>
#include <vector>

class LogSource;

// The picked samples of a log, as one stream read a block at a time: the
// pieces (stretches of the log's samples, in order) follow each other
// without a seam. Each block comes with the samples after it as look-ahead,
// read once: the buffer keeps them for the next block.
class LogBlocks {
public:
    // Every Welch hop (a power of two up to 8192) divides it.
    static constexpr std::int64_t BlockSamples = 65536;

    struct Piece {
        std::int64_t First = 0;
        std::int64_t Count = 0;
    };

    // rows: Channels() codes a sample, row by row; first: the block's first
    // sample in the stream; owned: its samples; available: owned and the
    // look-ahead that follows.
    using Take = std::function<void(const std::int32_t* rows, std::int64_t first, std::int64_t owned,
                                    std::int64_t available)>;

    LogBlocks(LogSource& log, std::vector<Piece> pieces);

    std::int64_t Samples() const { return samples_; }
    // False with the log's Error() when a read fails.
    bool Walk(std::int64_t lookAhead, const Take& take);

private:
    // Stream samples [first, first + count).
    bool Read(std::int64_t first, std::int64_t count, std::int32_t* out);

    LogSource& log_;
    std::vector<Piece> pieces_;
    std::int64_t samples_ = 0;
};
