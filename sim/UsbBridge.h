#pragma once

#include "BoardOutput.h"
#include "SimClock.h"

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>

// The USB-FIFO bridge chip, the cable and the host driver's receive queue.
// The chip gathers the board's bytes into 64-byte USB packets; a full packet
// goes to the host at once, a partial one when the latency timer (16 ms
// unless set) runs out (or on send-immediate). The driver keeps at most 64 KiB; when that is
// full the chip holds its packet and the board sees no room. Bytes from the
// host go straight to the board, so this models only the board-to-host way.
class UsbBridge : public BoardOutput {
public:
    static constexpr std::size_t PacketSize = 64;
    static constexpr std::size_t QueueCapacity = 65536;
    static constexpr BoardTime DefaultLatencyTimer = std::chrono::milliseconds(16);

    explicit UsbBridge(BoardTime latencyTimer = DefaultLatencyTimer)
        : latencyTimer_(latencyTimer)
    {
    }

    // BoardOutput, the board's side.
    std::size_t FreeBytes() const override;
    void Write(const std::uint8_t* data, std::size_t count, BoardTime t) override;
    void SendImmediate() override;

    // When the partial packet will go to the host, if it can.
    std::optional<BoardTime> NextFlushTime() const;
    void FlushPartialPacket();

    // The host's side: the driver's receive queue. It exists only while the
    // device is open; closing it drops what was queued.
    void Attach();
    void Detach();
    std::size_t Queued() const;
    std::size_t Read(std::uint8_t* dest, std::size_t count);
    // Nothing in the chip's packet buffer nor in the driver's queue.
    bool Drained() const { return packetFill_ == 0 && Queued() == 0 && hostHeld_ == 0; }
    // Empties the driver's queue and the chip's packet buffer.
    void PurgeReceive();
    // The driver keeps what is read from its queue in a buffer of its own
    // (the board process's stream to the drop-in library), which now holds
    // `bytes`: from here on what is read stays counted against the queue's
    // room, and the queue is drained only once that buffer is empty too.
    void HostBufferHolds(std::size_t bytes);

    // The cable comes out once this many more bytes have reached the host;
    // nothing = never.
    void PullCableAfter(std::optional<std::uint64_t> bytes);
    bool CablePulled() const;
    // A new cable: nothing queued, nothing pulled, nothing attached.
    void Reset();

private:
    std::size_t QueueFree() const;
    void PutInQueue(const std::uint8_t* data, std::size_t count);
    void MovePacket();

    BoardTime latencyTimer_;
    std::array<std::uint8_t, PacketSize> packet_{};
    std::size_t packetFill_ = 0;
    BoardTime packetSince_{0};  // when the first byte of the partial packet came

    std::array<std::uint8_t, QueueCapacity> queue_{};
    std::size_t queueHead_ = 0;
    std::size_t queueSize_ = 0;

    bool hostBuffered_ = false;
    std::size_t hostHeld_ = 0;  // bytes read but still in the driver's own buffer

    bool attached_ = false;
    bool pulled_ = false;
    std::optional<std::uint64_t> bytesBeforePull_;
};
