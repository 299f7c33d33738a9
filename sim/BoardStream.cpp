#include "BoardStream.h"

#include <algorithm>
#include <cstring>

namespace BoardStream {

std::size_t Slot::Take(std::uint8_t* into, std::size_t most)
{
    const std::uint64_t taken = Taken.load(std::memory_order_relaxed);
    const std::size_t count = std::min(most, Held());
    if (count == 0)
        return 0;
    const std::size_t at = static_cast<std::size_t>(taken % RingBytes);
    const std::size_t first = std::min(count, RingBytes - at);
    std::memcpy(into, Ring + at, first);
    std::memcpy(into + first, Ring, count - first);
    Taken.store(taken + count, std::memory_order_release);
    return count;
}

std::uint8_t* Slot::Space(std::size_t& room)
{
    const std::uint64_t put = Put.load(std::memory_order_relaxed);
    const std::size_t at = static_cast<std::size_t>(put % RingBytes);
    room = std::min(RingBytes - Held(), RingBytes - at);
    return Ring + at;
}

}  // namespace BoardStream
