#include "FtdiBridgeChip.h"

#include "BoardFirmware.h"

#include <algorithm>
#include <chrono>

namespace {

// The vendor requests of FTDI's bridges.
enum VendorRequest : std::uint8_t {
    Reset = 0x00,
    ModemControl = 0x01,
    SetFlowControl = 0x02,
    SetBaudRate = 0x03,
    SetLineProperties = 0x04,
    PollModemStatus = 0x05,
    SetEventChar = 0x06,
    SetErrorChar = 0x07,
    SetLatencyTimer = 0x09,
    GetLatencyTimer = 0x0A,
    SetBitMode = 0x0B,
    ReadPins = 0x0C,
    ReadEeprom = 0x90,
};

// The values of the reset request: the whole chip, or one FIFO. Named from
// the chip's side: "from host" is what the host wrote and the chip has not
// passed on, "to host" what the board wrote and the host has not read.
constexpr std::uint16_t ResetChip = 0;
constexpr std::uint16_t PurgeFromHost = 1;
constexpr std::uint16_t PurgeToHost = 2;

constexpr std::uint8_t VendorOut = 0x40;
constexpr std::uint8_t VendorIn = 0xC0;
constexpr std::size_t ShortPacketData = 16;

}  // namespace

FtdiBridgeChip::FtdiBridgeChip(const UsbBridgeConfig& config, BoardFirmware& firmware)
    : config_(config)
    , firmware_(firmware)
{
    eeprom_[1] = VendorId;
    eeprom_[2] = config_.ProductId;
    eeprom_[3] = DeviceRelease();
}

std::uint16_t FtdiBridgeChip::ProductId() const
{
    return config_.ProductId;
}

std::uint16_t FtdiBridgeChip::DeviceRelease() const
{
    switch (config_.ProductId) {
    case 0x6014:
        return 0x0900;
    case 0x6015:
        return 0x1000;  // FT-X
    default:
        return 0x0600;
    }
}

std::size_t FtdiBridgeChip::PacketSize() const
{
    return config_.ProductId == 0x6014 ? 512 : 64;
}

std::string FtdiBridgeChip::StringDescriptor(std::uint8_t index) const
{
    switch (index) {
    case 1:
        return "FTDI";
    case 2:
        if (!config_.Product.empty())
            return config_.Product;
        return config_.ProductId == 0x6014 ? "KORVADEX Board (FT232H)" : "KORVADEX Board (FT245R)";
    case 3:
        return config_.Serial;
    default:
        return {};
    }
}

std::size_t FtdiBridgeChip::FifoCapacity() const
{
    return config_.ProductId == 0x6014 ? 1024 : 256;
}

std::size_t FtdiBridgeChip::DataPerPacket() const
{
    return config_.Faults.ShortPackets ? ShortPacketData : PacketSize() - sizeof ModemStatus;
}

std::size_t FtdiBridgeChip::FreeBytes() const
{
    if (removed_)
        return 0;
    return FifoCapacity() - fifo_.size();
}

void FtdiBridgeChip::Write(const std::uint8_t* data, std::size_t count, BoardTime t)
{
    const std::size_t taken = std::min(count, FreeBytes());
    fifo_.insert(fifo_.end(), data, data + taken);
    SendFullPackets(t);
}

void FtdiBridgeChip::SendImmediate()
{
    if (!pending_.empty() && !fifo_.empty())
        SendPacket(std::min(fifo_.size(), DataPerPacket()), now_);
}

// The latency timer runs from the chip's last packet; a request that comes
// after it ran out is answered at once.
std::optional<BoardTime> FtdiBridgeChip::FlushTime() const
{
    if (pending_.empty() || removed_ || inHalted_)
        return std::nullopt;
    return std::max(lastPacket_ + std::chrono::milliseconds(latency_), now_);
}

void FtdiBridgeChip::Advance(BoardTime now)
{
    if (removed_)
        return;
    for (;;) {
        const std::optional<BoardTime> flush = FlushTime();
        const BoardTime until = flush && *flush < now ? *flush : now;
        firmware_.Produce(until, *this);
        now_ = std::max(now_, until);
        // Full packets on the way may have restarted the timer.
        const std::optional<BoardTime> due = FlushTime();
        if (removed_ || ((!due || *due > until) && until == now))
            break;
        if (!due || *due > until)
            continue;
        if (fifo_.empty() && config_.Faults.ZeroLengthPackets)
            SendZeroLengthPacket(*due);
        else
            SendPacket(std::min(fifo_.size(), DataPerPacket()), *due);
    }
    now_ = std::max(now_, now);
    ExpireRequests(now_);
}

std::optional<BoardTime> FtdiBridgeChip::NextCompletion() const
{
    std::optional<BoardTime> next = FlushTime();
    for (const InRequest* request : pending_) {
        if (request->Deadline && (!next || *request->Deadline < *next))
            next = request->Deadline;
    }
    if (pending_.empty() || removed_ || inHalted_)
        return next;
    // The front request fills up, or takes a packet that ends it.
    const InRequest& front = *pending_.front();
    const std::size_t packets = (front.Length - front.Actual) / PacketSize();
    const bool endsAfterOne = config_.Faults.ShortPackets || config_.Faults.ZeroLengthPackets;
    const std::size_t wanted = (endsAfterOne ? 1 : packets) * DataPerPacket();
    if (wanted > fifo_.size()) {
        const std::optional<BoardTime> filled = firmware_.TimeToSend(wanted - fifo_.size());
        if (filled && (!next || *filled < *next))
            next = filled;
    }
    return next;
}

void FtdiBridgeChip::SubmitIn(InRequest& request, BoardTime now)
{
    Advance(now);
    request.Actual = 0;
    request.Status = InRequest::State::Pending;
    if (removed_) {
        request.Status = InRequest::State::NoDevice;
        return;
    }
    if (inHalted_) {
        request.Status = InRequest::State::Stalled;
        return;
    }
    if (request.Length < PacketSize()) {
        // The chip sends whole packets: a shorter buffer overflows on the first.
        request.Status = InRequest::State::Overflow;
        return;
    }
    pending_.push_back(&request);
    SendFullPackets(now_);
}

bool FtdiBridgeChip::Cancel(InRequest& request)
{
    const auto found = std::find(pending_.begin(), pending_.end(), &request);
    if (found == pending_.end())
        return false;
    pending_.erase(found);
    request.Status = InRequest::State::Cancelled;
    return true;
}

void FtdiBridgeChip::ReceiveOut(const std::uint8_t* data, std::size_t count, BoardTime now)
{
    Advance(now);
    if (config_.Loopback)
        Write(data, count, now_);
    else
        firmware_.Receive(data, count, now_, *this);
}

void FtdiBridgeChip::SendFullPackets(BoardTime t)
{
    while (!pending_.empty() && !removed_ && !inHalted_ && fifo_.size() >= DataPerPacket())
        SendPacket(DataPerPacket(), t);
}

void FtdiBridgeChip::SendPacket(std::size_t dataBytes, BoardTime t)
{
    InRequest& request = *pending_.front();
    std::uint8_t* out = request.Buffer + request.Actual;
    std::copy(std::begin(ModemStatus), std::end(ModemStatus), out);
    std::copy(fifo_.begin(), fifo_.begin() + static_cast<std::ptrdiff_t>(dataBytes), out + sizeof ModemStatus);
    fifo_.erase(fifo_.begin(), fifo_.begin() + static_cast<std::ptrdiff_t>(dataBytes));
    const std::size_t packet = sizeof ModemStatus + dataBytes;
    request.Actual += packet;
    bytesToHost_ += dataBytes;
    lastPacket_ = t;
    // A short packet ends the request; so does a zero-length one after a full
    // packet, and a request without room for another packet.
    if (packet < PacketSize() || config_.Faults.ZeroLengthPackets || request.Length - request.Actual < PacketSize())
        FinishFront(InRequest::State::Completed);
    CheckLimits();
}

void FtdiBridgeChip::SendZeroLengthPacket(BoardTime t)
{
    lastPacket_ = t;
    FinishFront(InRequest::State::Completed);
}

void FtdiBridgeChip::CheckLimits()
{
    const UsbBridgeFaults& faults = config_.Faults;
    if (faults.RemoveAfterBytes && bytesToHost_ >= *faults.RemoveAfterBytes) {
        Remove();
    } else if (faults.StallAfterBytes && bytesToHost_ >= *faults.StallAfterBytes && !inHalted_) {
        inHalted_ = true;
        FailPending(InRequest::State::Stalled);
    }
}

void FtdiBridgeChip::FinishFront(InRequest::State state)
{
    pending_.front()->Status = state;
    pending_.pop_front();
}

void FtdiBridgeChip::FailPending(InRequest::State state)
{
    while (!pending_.empty())
        FinishFront(state);
}

void FtdiBridgeChip::ExpireRequests(BoardTime now)
{
    for (auto it = pending_.begin(); it != pending_.end();) {
        if ((*it)->Deadline && *(*it)->Deadline <= now) {
            (*it)->Status = InRequest::State::TimedOut;
            it = pending_.erase(it);
        } else {
            ++it;
        }
    }
}

void FtdiBridgeChip::Remove()
{
    if (!removed_)
        removedAt_ = now_;
    removed_ = true;
    fifo_.clear();
    FailPending(InRequest::State::NoDevice);
}

BoardTime FtdiBridgeChip::RemovedAt() const
{
    return removedAt_;
}

bool FtdiBridgeChip::Removed() const
{
    return removed_;
}

bool FtdiBridgeChip::InHalted() const
{
    return inHalted_;
}

std::optional<std::size_t> FtdiBridgeChip::Control(std::uint8_t requestType, std::uint8_t request,
                                                   std::uint16_t value, std::uint16_t index,
                                                   std::uint8_t* data, std::uint16_t length)
{
    const bool in = requestType == VendorIn;
    if (requestType != VendorOut && !in)
        return std::nullopt;
    const bool wantsData = request == PollModemStatus || request == GetLatencyTimer || request == ReadPins ||
                           request == ReadEeprom;
    if (wantsData != in)
        return std::nullopt;
    return Answer(request, value, index, data, length);
}

// index carries the interface in its low byte; flow control puts its
// handshake bits in the high byte. Modem lines, line properties and the
// event and error characters mean nothing to a FIFO bridge: accepted, kept
// nowhere.
std::optional<std::size_t> FtdiBridgeChip::Answer(std::uint8_t request, std::uint16_t value, std::uint16_t index,
                                                  std::uint8_t* data, std::uint16_t length)
{
    const auto reply = [&](std::initializer_list<std::uint8_t> bytes) -> std::optional<std::size_t> {
        const std::size_t n = std::min<std::size_t>(bytes.size(), length);
        std::copy(bytes.begin(), bytes.begin() + n, data);
        return n;
    };
    switch (request) {
    case Reset:
        if (value == ResetChip) {
            ++resets_;
            fifo_.clear();
        } else if (value == PurgeToHost) {
            ++receivePurges_;
            fifo_.clear();
        } else if (value == PurgeFromHost) {
            ++transmitPurges_;  // written bytes reach the board at once: nothing waits here
        } else {
            return std::nullopt;
        }
        return 0;
    case ModemControl:
    case SetLineProperties:
    case SetEventChar:
    case SetErrorChar:
        return 0;
    case SetFlowControl:
        flowControl_ = static_cast<std::uint16_t>(index & 0xFF00);
        return 0;
    case SetBaudRate:
        baudDivisor_ = value;
        return 0;
    case SetLatencyTimer:
        if ((value & 0xFF) == 0)
            return std::nullopt;
        latency_ = static_cast<std::uint8_t>(value);
        return 0;
    case SetBitMode:
        bitMode_ = value;
        return 0;
    case PollModemStatus:
        return reply({ModemStatus[0], ModemStatus[1]});
    case GetLatencyTimer:
        return reply({latency_});
    case ReadPins:
        return reply({0xFF});
    case ReadEeprom: {
        const std::uint16_t word = value < eeprom_.size() ? eeprom_[value] : 0xFFFF;
        return reply({static_cast<std::uint8_t>(word), static_cast<std::uint8_t>(word >> 8)});
    }
    default:
        return std::nullopt;
    }
}

std::uint8_t FtdiBridgeChip::LatencyTimer() const
{
    return latency_;
}

std::uint16_t FtdiBridgeChip::BitMode() const
{
    return bitMode_;
}

std::uint16_t FtdiBridgeChip::BaudDivisor() const
{
    return baudDivisor_;
}

std::uint16_t FtdiBridgeChip::FlowControl() const
{
    return flowControl_;
}

unsigned FtdiBridgeChip::ChipResets() const
{
    return resets_;
}

unsigned FtdiBridgeChip::ReceivePurges() const
{
    return receivePurges_;
}

unsigned FtdiBridgeChip::TransmitPurges() const
{
    return transmitPurges_;
}

std::uint64_t FtdiBridgeChip::BytesToHost() const
{
    return bytesToHost_;
}
