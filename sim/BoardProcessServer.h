#pragma once

#include "BoardStream.h"

#include "D2xx.h"

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

class VirtualDevices;

// The board process's side of the calls: each request the drop-in library
// sends is carried out on the devices as the library would have in-process,
// and answered with what the call returned.
//
// Given a shared stream (BoardStream), each handle opened gets a slot of it
// (its number in the reply's second value, 0 for none), and a pump moves
// what the devices queued into the slots every PumpPeriod, as a driver's
// reader thread would: the library then reads and counts those bytes
// without asking. What a slot holds counts against the board's queue
// (VirtualDevices::HostBufferHolds), so the host still has the driver's
// 64 KiB and no more. Requests and the pump take turns on the devices.
class BoardProcessServer {
public:
    static constexpr std::chrono::milliseconds PumpPeriod{2};

    // The devices must outlive the server.
    explicit BoardProcessServer(D2xx& devices);
    // With a stream: the region must outlive the server too.
    BoardProcessServer(VirtualDevices& devices, BoardStream::Region& stream);
    ~BoardProcessServer();
    BoardProcessServer(const BoardProcessServer&) = delete;
    BoardProcessServer& operator=(const BoardProcessServer&) = delete;

    // The whole reply message (length and body) to one request body;
    // nothing when the body is not a request.
    std::optional<std::vector<std::uint8_t>> Answer(const std::uint8_t* body, std::size_t size);

private:
    std::optional<std::vector<std::uint8_t>> AnswerOnDevices(const std::uint8_t* body, std::size_t size);
    // The slot number (from 1) given to a handle just opened; 0 for none.
    std::uint32_t GiveSlot(FT_HANDLE handle);
    BoardStream::Slot* SlotOf(FT_HANDLE handle);
    void Pump();
    void Fill(BoardStream::Slot& slot);

    D2xx& devices_;
    VirtualDevices* streamed_ = nullptr;
    BoardStream::Region* stream_ = nullptr;
    std::mutex turn_;
    std::condition_variable stopping_;
    bool stop_ = false;
    std::thread pump_;
};
