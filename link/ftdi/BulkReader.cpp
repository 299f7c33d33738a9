#include "BulkReader.h"

#include <libusb.h>

#include <algorithm>
#include <chrono>
#include <cstring>

namespace {

constexpr std::size_t StatusBytes = 2;
// Waiting for cancelled transfers: the device gives each back within one
// USB frame; this only bounds a device that never does.
constexpr int CancelWaitMs = 1000;

}  // namespace

BulkReader::BulkReader(libusb_context* context, libusb_device_handle* device, unsigned char endpoint, int packetSize)
    : context_(context)
    , device_(device)
    , endpoint_(endpoint)
    , packetSize_(static_cast<std::size_t>(std::max(packetSize, 1)))
    , slots_(InFlight)
{
    for (Slot& slot : slots_)
        slot.transfer = libusb_alloc_transfer(0);
}

BulkReader::~BulkReader()
{
    Stop();
    for (Slot& slot : slots_) {
        if (!slot.submitted)
            libusb_free_transfer(slot.transfer);
    }
}

bool BulkReader::Start(std::size_t transferBytes)
{
    if (failed_)
        return false;
    const std::size_t packets = std::clamp<std::size_t>(transferBytes / packetSize_, 1, MaxTransferBytes / packetSize_);
    transferBytes_ = packets * packetSize_;
    next_ = 0;
    for (Slot& slot : slots_) {
        if (slot.buffer.size() < transferBytes_)
            slot.buffer.resize(transferBytes_);
        if (!Submit(slot)) {
            Fail();
            return false;
        }
    }
    return true;
}

void BulkReader::Stop()
{
    for (Slot& slot : slots_) {
        if (slot.submitted && slot.done == 0)
            libusb_cancel_transfer(slot.transfer);
    }
    for (Slot& slot : slots_) {
        if (slot.submitted && !WaitFor(slot, CancelWaitMs)) {
            // Never given back: the transfer stays the device's, and the
            // reader can no longer tell what the stream holds.
            Fail();
            continue;
        }
        slot.submitted = false;
        slot.data = 0;
        slot.taken = 0;
    }
}

int BulkReader::Read(unsigned char* dest, std::size_t capacity, int waitMs)
{
    if (failed_)
        return -1;
    Slot& slot = slots_[next_];
    if (!slot.submitted || !WaitFor(slot, waitMs))
        return 0;
    const libusb_transfer_status status = slot.transfer->status;
    // A transfer that timed out still carries the whole packets it received.
    if (status != LIBUSB_TRANSFER_COMPLETED && status != LIBUSB_TRANSFER_TIMED_OUT)
        return Fail();
    const std::size_t n = std::min(capacity, slot.data - slot.taken);
    std::memcpy(dest, slot.buffer.data() + slot.taken, n);
    slot.taken += n;
    if (slot.taken < slot.data)
        return static_cast<int>(n);
    next_ = (next_ + 1) % slots_.size();
    return Submit(slot) ? static_cast<int>(n) : Fail();
}

void BulkReader::Completed(libusb_transfer* transfer)
{
    auto* slot = static_cast<Slot*>(transfer->user_data);
    slot->done = 1;
}

bool BulkReader::Submit(Slot& slot)
{
    slot.done = 0;
    slot.data = 0;
    slot.taken = 0;
    slot.submitted = false;
    if (slot.transfer == nullptr)
        return false;
    libusb_fill_bulk_transfer(slot.transfer, device_, endpoint_, slot.buffer.data(), static_cast<int>(transferBytes_),
                              &BulkReader::Completed, &slot, 0);
    slot.submitted = libusb_submit_transfer(slot.transfer) == 0;
    return slot.submitted;
}

// Handles USB events until the slot's transfer is back or waitMs passed. One
// pass may give back another transfer, or only some of those cancelled, so
// the passes go on until the deadline.
bool BulkReader::WaitFor(Slot& slot, int waitMs)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
    while (slot.done == 0) {
        const auto left = std::chrono::duration_cast<std::chrono::microseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            break;
        timeval wait{static_cast<decltype(timeval::tv_sec)>(left.count() / 1000000),
                     static_cast<decltype(timeval::tv_usec)>(left.count() % 1000000)};
        libusb_handle_events_timeout_completed(context_, &wait, &slot.done);
    }
    if (slot.done == 0)
        return false;
    if (slot.done == 1 && slot.submitted)
        Strip(slot);
    slot.done = 2;  // back and stripped
    return true;
}

// Drops the two status bytes at the start of every packet, keeping the data
// in place and in order. A packet of status bytes alone (the chip's answer
// when it has nothing) and a zero-length packet carry no data.
void BulkReader::Strip(Slot& slot) const
{
    const std::size_t received = static_cast<std::size_t>(std::max(slot.transfer->actual_length, 0));
    unsigned char* bytes = slot.buffer.data();
    std::size_t kept = 0;
    for (std::size_t packet = 0; packet < received; packet += packetSize_) {
        const std::size_t end = std::min(packet + packetSize_, received);
        if (end - packet <= StatusBytes)
            continue;
        std::memmove(bytes + kept, bytes + packet + StatusBytes, end - packet - StatusBytes);
        kept += end - packet - StatusBytes;
    }
    slot.data = kept;
}

int BulkReader::Fail()
{
    failed_ = true;
    return -1;
}
