#pragma once

#include "BoardConfig.h"
#include "BoardOutput.h"
#include "SimClock.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>

class BoardFirmware;

// One read request of the host on the bridge's bulk-in endpoint: a buffer
// the chip fills with whole USB packets.
struct InRequest {
    enum class State { Pending, Completed, Stalled, Overflow, NoDevice, Cancelled, TimedOut };

    std::uint8_t* Buffer = nullptr;
    std::size_t Length = 0;
    std::size_t Actual = 0;
    State Status = State::Pending;
    std::optional<BoardTime> Deadline;  // the host's time-out, if any
};

// The FTDI USB-FIFO bridge as the host sees it on the bus: its descriptors,
// its vendor control requests and the state they set, and its bulk
// endpoints. Bytes from the host go to the board's firmware at once; the
// board's bytes wait in the chip's transmit FIFO (256 bytes on the FT245R,
// 1 KiB on the FT232H) until the host asks for a packet. Each packet starts
// with the two modem-status bytes; the chip sends it when it holds a full
// packet's worth, or, when the latency timer has run out since its last
// packet, whatever it holds (the status bytes alone if nothing). A packet
// shorter than the endpoint's size ends the host's request, as does a full
// request. While the host asks for nothing the FIFO fills up and the board
// sees no room.
//
// Not thread-safe: the bus that owns it serialises every call.
class FtdiBridgeChip : public BoardOutput {
public:
    static constexpr std::uint16_t VendorId = 0x0403;
    static constexpr std::uint8_t InEndpoint = 0x81;
    static constexpr std::uint8_t OutEndpoint = 0x02;
    static constexpr std::uint8_t ModemStatus[2] = {0x01, 0x60};  // CTS clear, transmitter empty

    // The firmware must outlive the chip.
    FtdiBridgeChip(const UsbBridgeConfig& config, BoardFirmware& firmware);

    std::uint16_t ProductId() const;
    std::uint16_t DeviceRelease() const;  // bcdDevice: tells libraries the chip type
    std::size_t PacketSize() const;
    std::string StringDescriptor(std::uint8_t index) const;  // empty for an unknown index

    // BoardOutput, the board's side.
    std::size_t FreeBytes() const override;
    void Write(const std::uint8_t* data, std::size_t count, BoardTime t) override;
    void SendImmediate() override;

    // Runs the board and the chip up to now, in time order.
    void Advance(BoardTime now);
    // The earliest time a pending request completes if the host does nothing.
    std::optional<BoardTime> NextCompletion() const;

    // The host's side. A request stays the caller's; it is done once its
    // Status is no longer Pending.
    void SubmitIn(InRequest& request, BoardTime now);
    bool Cancel(InRequest& request);
    void ReceiveOut(const std::uint8_t* data, std::size_t count, BoardTime now);
    // A vendor request: the bytes answered (data stage of an IN request), or
    // nothing when the chip stalls it.
    std::optional<std::size_t> Control(std::uint8_t requestType, std::uint8_t request, std::uint16_t value,
                                       std::uint16_t index, std::uint8_t* data, std::uint16_t length);

    // Pulled out: every pending request ends with NoDevice.
    void Remove();
    bool Removed() const;
    BoardTime RemovedAt() const;  // on the board's clock; only once Removed
    bool InHalted() const;

    // State the host's requests have set.
    std::uint8_t LatencyTimer() const;
    std::uint16_t BitMode() const;       // mode in the high byte, pin mask in the low byte
    std::uint16_t BaudDivisor() const;
    std::uint16_t FlowControl() const;   // the handshake bits of the request's index
    unsigned ChipResets() const;
    unsigned ReceivePurges() const;      // the FIFO towards the host emptied
    unsigned TransmitPurges() const;     // the FIFO from the host emptied
    std::uint64_t BytesToHost() const;   // data bytes, without the status bytes

private:
    std::size_t FifoCapacity() const;
    std::size_t DataPerPacket() const;
    std::optional<BoardTime> FlushTime() const;
    void SendFullPackets(BoardTime t);
    void SendPacket(std::size_t dataBytes, BoardTime t);
    void SendZeroLengthPacket(BoardTime t);
    void CheckLimits();
    void FinishFront(InRequest::State state);
    void FailPending(InRequest::State state);
    void ExpireRequests(BoardTime now);
    std::optional<std::size_t> Answer(std::uint8_t request, std::uint16_t value, std::uint16_t index,
                                      std::uint8_t* data, std::uint16_t length);

    UsbBridgeConfig config_;
    BoardFirmware& firmware_;
    std::deque<std::uint8_t> fifo_;
    std::deque<InRequest*> pending_;
    BoardTime lastPacket_{0};
    BoardTime now_{0};
    bool removed_ = false;
    BoardTime removedAt_{0};
    bool inHalted_ = false;

    std::uint8_t latency_ = 16;
    std::uint16_t bitMode_ = 0;
    std::uint16_t baudDivisor_ = 0;
    std::uint16_t flowControl_ = 0;
    std::array<std::uint16_t, 64> eeprom_{};
    unsigned resets_ = 0;
    unsigned receivePurges_ = 0;
    unsigned transmitPurges_ = 0;
    std::uint64_t bytesToHost_ = 0;
};
