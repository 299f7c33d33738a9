#include "FakeUsbPort.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <utility>

FakeUsbPort::FakeUsbPort(bool* destroyed)
    : destroyed_(destroyed)
{
}

FakeUsbPort::~FakeUsbPort()
{
    if (destroyed_ != nullptr)
        *destroyed_ = true;
}

void FakeUsbPort::Arrive(std::vector<unsigned char> packet)
{
    std::lock_guard<std::mutex> lock(mutex_);
    packets_.push_back(Packet{std::move(packet), 0, false});
    changed_.notify_all();
}

void FakeUsbPort::ArriveError()
{
    std::lock_guard<std::mutex> lock(mutex_);
    packets_.push_back(Packet{{}, 0, true});
    changed_.notify_all();
}

void FakeUsbPort::HoldReads(bool hold)
{
    std::lock_guard<std::mutex> lock(mutex_);
    held_ = hold;
    changed_.notify_all();
}

void FakeUsbPort::FailWrites()
{
    std::lock_guard<std::mutex> lock(mutex_);
    failWrites_ = true;
}

void FakeUsbPort::FailDiscards()
{
    std::lock_guard<std::mutex> lock(mutex_);
    failDiscards_ = true;
}

std::size_t FakeUsbPort::Delivered() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return delivered_;
}

std::size_t FakeUsbPort::Pending() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    std::size_t pending = 0;
    for (const Packet& packet : packets_)
        pending += packet.bytes.size() - packet.offset;
    return pending;
}

int FakeUsbPort::ReadCalls() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return readCalls_;
}

int FakeUsbPort::LastReadCapacity() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return lastReadCapacity_;
}

int FakeUsbPort::DiscardReceivedCalls() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return discardReceivedCalls_;
}

int FakeUsbPort::DiscardTransmitCalls() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return discardTransmitCalls_;
}

std::vector<unsigned char> FakeUsbPort::Written() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return written_;
}

int FakeUsbPort::Read(unsigned char* buffer, int capacity)
{
    std::unique_lock<std::mutex> lock(mutex_);
    ++readCalls_;
    lastReadCapacity_ = capacity;
    changed_.wait(lock, [this] { return !held_; });
    // Like the bridge, an empty poll answers after a short while, not at once.
    changed_.wait_for(lock, std::chrono::milliseconds(1), [this] { return !packets_.empty(); });
    if (packets_.empty())
        return 0;
    Packet& packet = packets_.front();
    if (packet.error) {
        packets_.pop_front();
        return -1;
    }
    const std::size_t count = std::min(static_cast<std::size_t>(capacity), packet.bytes.size() - packet.offset);
    std::memcpy(buffer, packet.bytes.data() + packet.offset, count);
    packet.offset += count;
    if (packet.offset == packet.bytes.size())
        packets_.pop_front();
    delivered_ += count;
    return static_cast<int>(count);
}

bool FakeUsbPort::DiscardReceived()
{
    std::lock_guard<std::mutex> lock(mutex_);
    ++discardReceivedCalls_;
    if (failDiscards_)
        return false;
    packets_.erase(std::remove_if(packets_.begin(), packets_.end(), [](const Packet& p) { return !p.error; }),
                   packets_.end());
    return true;
}

int FakeUsbPort::Write(const unsigned char* data, int count)
{
    std::lock_guard<std::mutex> lock(mutex_);
    if (failWrites_)
        return -1;
    written_.insert(written_.end(), data, data + count);
    return count;
}

bool FakeUsbPort::DiscardTransmit()
{
    std::lock_guard<std::mutex> lock(mutex_);
    ++discardTransmitCalls_;
    return !failDiscards_;
}
