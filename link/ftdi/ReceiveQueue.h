#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

class UsbPort;

// Past After since the receive queue's reader last came back from the port
// it is taken as held up, and a look at an empty ring waits up to Wait for
// its next read.
struct HeldUpReader {
    std::chrono::milliseconds After{100};
    std::chrono::milliseconds Wait{100};
};

// The driver's own receive queue. libftdi cannot tell how many bytes are
// waiting, so a reader thread keeps pulling from the USB side into a bounded
// ring, and the queue count and reads are answered from the ring without
// touching USB: they wait at most for the reader to finish copying one chunk.
//
// The ring drops nothing: when it is full the reader stops pulling, and the
// bridge holds back what its FIFO can take (the board loses the rest; the
// ring holds a whole run, so only a host that stops reading gets there). A
// USB error stops the reader for good.
//
// A reader that runs comes back from the port at least every 50 ms. On a
// loaded host it may not have run for longer, and what the chip holds (a
// reply the caller waits for) is not in the ring yet: then a look at an
// empty ring waits, briefly, for the reader's next read, which also lends it
// the processor. A reader that runs as it should is never waited for.
class ReceiveQueue {
public:
    static constexpr std::size_t DefaultReadChunk = 4096;   // the vendor driver's default in-transfer size
    static constexpr std::size_t MaxReadChunk = 65536;      // its largest

    // Starts the reader thread on port, which must outlive the queue.
    ReceiveQueue(UsbPort& port, std::size_t capacity, HeldUpReader heldUp = {});
    // Stops the reader; waits for a USB read in progress to end.
    ~ReceiveQueue();

    ReceiveQueue(const ReceiveQueue&) = delete;
    ReceiveQueue& operator=(const ReceiveQueue&) = delete;

    // The size of each later USB read request, 1 to MaxReadChunk bytes.
    void SetReadChunk(std::size_t bytes);
    // The bytes in the ring; may wait for a held-up reader (HeldUpReader).
    std::size_t Queued() const;
    // Moves up to max queued bytes to dest, oldest first; never waits for more.
    std::size_t Take(unsigned char* dest, std::size_t max);
    // Empties the ring and the USB side's receive buffers; every byte that
    // arrived before the call is gone afterwards. False after a USB error.
    bool Purge();
    bool Failed() const;

private:
    void ReadUntilStopped();
    void StoreStaged(std::unique_lock<std::mutex>& lock, std::size_t count);
    void ServePurge(std::unique_lock<std::mutex>& lock);
    void FailLocked();
    std::size_t PutLocked(const unsigned char* source, std::size_t count);

    UsbPort& port_;
    const HeldUpReader heldUp_;
    std::vector<unsigned char> ring_;
    std::vector<unsigned char> staged_;   // one USB read, on its way into the ring
    mutable std::mutex mutex_;
    std::condition_variable readerWake_;  // room in the ring, a purge wanted, or stop
    std::condition_variable purgeServed_;
    mutable std::condition_variable readDone_;  // the reader came back from the port
    std::chrono::steady_clock::time_point lastRead_ = std::chrono::steady_clock::now();
    std::uint64_t reads_ = 0;
    std::size_t head_ = 0;
    std::size_t count_ = 0;
    std::size_t readChunk_ = DefaultReadChunk;
    bool purgeRequested_ = false;
    bool stopRequested_ = false;
    bool failed_ = false;
    std::thread reader_;                  // last: it starts once everything above is ready
};
