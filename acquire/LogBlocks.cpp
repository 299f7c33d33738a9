#include "LogBlocks.h"

#include "LogSource.h"

#include <algorithm>

LogBlocks::LogBlocks(LogSource& log, std::vector<Piece> pieces)
    : log_(log)
    , pieces_(std::move(pieces))
{
    for (const Piece& piece : pieces_)
        samples_ += piece.Count;
}

bool LogBlocks::Read(std::int64_t first, std::int64_t count, std::int32_t* out)
{
    const int channels = log_.Channels();
    std::int64_t pieceStart = 0;
    for (const Piece& piece : pieces_) {
        if (count == 0)
            break;
        const std::int64_t pieceEnd = pieceStart + piece.Count;
        if (first < pieceEnd) {
            const std::int64_t take = std::min(count, pieceEnd - first);
            if (!log_.ReadCodes(piece.First + first - pieceStart, take, out))
                return false;
            out += take * channels;
            first += take;
            count -= take;
        }
        pieceStart = pieceEnd;
    }
    return true;
}

bool LogBlocks::Walk(std::int64_t lookAhead, const Take& take)
{
    const std::size_t channels = static_cast<std::size_t>(log_.Channels());
    std::vector<std::int32_t> buffer(static_cast<std::size_t>(BlockSamples + lookAhead) * channels);
    std::int64_t held = 0;  // samples from `first` already in the buffer
    for (std::int64_t first = 0; first < samples_; first += BlockSamples) {
        const std::int64_t available = std::min(samples_ - first, BlockSamples + lookAhead);
        if (!Read(first + held, available - held, buffer.data() + static_cast<std::size_t>(held) * channels))
            return false;
        const std::int64_t owned = std::min(BlockSamples, available);
        take(buffer.data(), first, owned, available);
        held = available - owned;
        std::copy(buffer.begin() + static_cast<std::ptrdiff_t>(owned) * static_cast<std::ptrdiff_t>(channels),
                  buffer.begin() + static_cast<std::ptrdiff_t>(available) * static_cast<std::ptrdiff_t>(channels),
                  buffer.begin());
    }
    return true;
}
