#pragma once

#include "SimClock.h"

#include <cstddef>
#include <cstdint>

// The board's side of the USB bridge: the FIFO the firmware writes into. The
// firmware asks for room first, as it would watch the chip's transmit-full
// line, and never writes more than there is room for.
class BoardOutput {
public:
    virtual ~BoardOutput() = default;

    // Bytes that can be written now.
    virtual std::size_t FreeBytes() const = 0;

    // Writes count bytes at time t; bytes beyond FreeBytes() are not taken.
    virtual void Write(const std::uint8_t* data, std::size_t count, BoardTime t) = 0;

    // The chip's send-immediate line: what is waiting in the partial packet
    // goes to the host now instead of after the latency timer.
    virtual void SendImmediate() = 0;
};
