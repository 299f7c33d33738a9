#pragma once

#include "BoardOutput.h"

#include <cstddef>
#include <string>
#include <vector>

// A board output that keeps what the firmware wrote, with a room the test
// sets. Each send-immediate closes a packet, so Packets() shows the splits.
class CaptureOutput : public BoardOutput {
public:
    std::size_t FreeBytes() const override;
    void Write(const std::uint8_t* data, std::size_t count, BoardTime t) override;
    void SendImmediate() override;

    // Everything written, in order.
    std::string Bytes() const;
    // The bytes split where the firmware asked for an immediate send.
    std::vector<std::string> Packets() const;
    // Time of the latest write.
    BoardTime LastWrite() const;
    void Clear();

    std::size_t Room = 1 << 20;

private:
    std::vector<std::string> packets_{std::string()};
    BoardTime lastWrite_{-1};
};
