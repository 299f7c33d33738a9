#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>

// What the board process's devices send their host, put where the drop-in
// library takes it without a round trip to the board process: a ring of
// bytes for each open handle, in memory the two processes share. The board
// process puts bytes in as a driver's reader thread would (its server's
// pump, every PumpPeriod); the library takes them out in FT_Read and counts
// them in FT_GetQueueStatus, as a driver answers both from its own buffer.
// Each side writes its own count alone, so neither ever waits for the other.
namespace BoardStream {

constexpr std::size_t RingBytes = 65536;  // as much as the driver's queue holds; a power of two
constexpr std::size_t SlotCount = 16;

static_assert(std::atomic<std::uint64_t>::is_always_lock_free, "the counts are shared between processes");

struct Slot {
    std::atomic<std::uint64_t> Handle;  // the handle whose bytes these are; 0 while the slot is free
    std::atomic<std::uint32_t> Status;  // what a call on the handle returns now (FT_STATUS)
    std::atomic<std::uint64_t> Put;  // bytes put in since the handle was opened (board process)
    std::atomic<std::uint64_t> Taken;  // bytes taken out (library)
    std::uint8_t Ring[RingBytes];

    std::size_t Held() const
    {
        return static_cast<std::size_t>(Put.load(std::memory_order_acquire) - Taken.load(std::memory_order_acquire));
    }
    // The library's side: up to `most` of the oldest bytes into `into`.
    std::size_t Take(std::uint8_t* into, std::size_t most);
    // Where the next bytes go and how many fit there in one piece.
    std::uint8_t* Space(std::size_t& room);
};

// The shared memory, zeroed when made: every slot free.
struct Region {
    Slot Slots[SlotCount];
};

}  // namespace BoardStream
