#include "CaptureOutput.h"

#include <algorithm>

std::size_t CaptureOutput::FreeBytes() const
{
    return Room;
}

void CaptureOutput::Write(const std::uint8_t* data, std::size_t count, BoardTime t)
{
    const std::size_t taken = std::min(count, Room);
    packets_.back().append(reinterpret_cast<const char*>(data), taken);
    Room -= taken;
    lastWrite_ = t;
}

void CaptureOutput::SendImmediate()
{
    packets_.emplace_back();
}

std::string CaptureOutput::Bytes() const
{
    std::string all;
    for (const std::string& packet : packets_)
        all += packet;
    return all;
}

std::vector<std::string> CaptureOutput::Packets() const
{
    return packets_;
}

BoardTime CaptureOutput::LastWrite() const
{
    return lastWrite_;
}

void CaptureOutput::Clear()
{
    packets_.assign(1, std::string());
}
