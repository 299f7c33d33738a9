#include "UsbBridge.h"

#include <algorithm>

std::size_t UsbBridge::FreeBytes() const
{
    if (pulled_)
        return 0;
    const std::size_t packetFree = PacketSize - packetFill_;
    if (!attached_)
        return packetFree;
    // Each time the packet fills up it moves to the host whole, so the host
    // side offers room in whole packets only.
    return packetFree + QueueFree() / PacketSize * PacketSize;
}

void UsbBridge::Write(const std::uint8_t* data, std::size_t count, BoardTime t)
{
    for (std::size_t i = 0; i < count; ++i) {
        if (packetFill_ == PacketSize)
            MovePacket();
        if (pulled_ || packetFill_ == PacketSize)
            return;
        if (packetFill_ == 0)
            packetSince_ = t;
        packet_[packetFill_++] = data[i];
    }
    if (packetFill_ == PacketSize)
        MovePacket();
}

void UsbBridge::SendImmediate()
{
    MovePacket();
}

std::optional<BoardTime> UsbBridge::NextFlushTime() const
{
    if (!attached_ || pulled_ || packetFill_ == 0 || packetFill_ > QueueFree())
        return std::nullopt;
    return packetSince_ + latencyTimer_;
}

void UsbBridge::FlushPartialPacket()
{
    MovePacket();
}

void UsbBridge::Attach()
{
    attached_ = true;
    MovePacket();
}

void UsbBridge::Detach()
{
    attached_ = false;
    queueHead_ = 0;
    queueSize_ = 0;
    hostHeld_ = 0;
}

std::size_t UsbBridge::Queued() const
{
    return queueSize_;
}

std::size_t UsbBridge::Read(std::uint8_t* dest, std::size_t count)
{
    const std::size_t n = std::min(count, queueSize_);
    for (std::size_t i = 0; i < n; ++i)
        dest[i] = queue_[(queueHead_ + i) % QueueCapacity];
    queueHead_ = (queueHead_ + n) % QueueCapacity;
    queueSize_ -= n;
    if (hostBuffered_)
        hostHeld_ += n;
    // A full packet held back for lack of room can go now.
    if (packetFill_ == PacketSize)
        MovePacket();
    return n;
}

void UsbBridge::PurgeReceive()
{
    queueHead_ = 0;
    queueSize_ = 0;
    packetFill_ = 0;
    hostHeld_ = 0;
}

void UsbBridge::HostBufferHolds(std::size_t bytes)
{
    hostBuffered_ = true;
    hostHeld_ = std::min(bytes, QueueCapacity);
    // Room made in the host's buffer lets a held-back packet go.
    if (packetFill_ == PacketSize)
        MovePacket();
}

void UsbBridge::PullCableAfter(std::optional<std::uint64_t> bytes)
{
    bytesBeforePull_ = bytes;
    if (bytes && *bytes == 0)
        pulled_ = true;
}

bool UsbBridge::CablePulled() const
{
    return pulled_;
}

void UsbBridge::Reset()
{
    packetFill_ = 0;
    Detach();
    pulled_ = false;
    bytesBeforePull_.reset();
}

std::size_t UsbBridge::QueueFree() const
{
    return QueueCapacity - std::min(QueueCapacity, queueSize_ + hostHeld_);
}

// The packet goes to the host whole, if the host is there and has room.
void UsbBridge::MovePacket()
{
    if (!attached_ || pulled_ || packetFill_ == 0 || packetFill_ > QueueFree())
        return;
    std::size_t count = packetFill_;
    if (bytesBeforePull_ && *bytesBeforePull_ <= count) {
        count = static_cast<std::size_t>(*bytesBeforePull_);
        pulled_ = true;
    } else if (bytesBeforePull_) {
        *bytesBeforePull_ -= count;
    }
    PutInQueue(packet_.data(), count);
    packetFill_ = 0;
}

void UsbBridge::PutInQueue(const std::uint8_t* data, std::size_t count)
{
    for (std::size_t i = 0; i < count; ++i)
        queue_[(queueHead_ + queueSize_ + i) % QueueCapacity] = data[i];
    queueSize_ += count;
}
