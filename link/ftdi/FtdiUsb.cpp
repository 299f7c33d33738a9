#include "FtdiUsb.h"

#include "ReceiveQueue.h"

#include <ftdi.h>

namespace {

// How long one Read waits for a transfer to come back. The chip answers
// within its latency time (16 ms) even when it has nothing, so this only
// bounds how late the reader thread notices that it should stop.
constexpr int ReadWaitMs = 50;

} // namespace

std::unique_ptr<UsbPort> FtdiUsb::Open(const Pick& pick, const Refusal& refused, FT_STATUS& status)
{
    status = FT_DEVICE_NOT_FOUND;
    ftdi_context* context = ftdi_new();   // null when libusb cannot start: no USB to search
    if (context == nullptr)
        return nullptr;
    std::unique_ptr<FtdiUsb> port(new FtdiUsb(context));
    ftdi_device_list* devices = nullptr;
    if (ftdi_usb_find_all(context, &devices, 0, 0) > 0) {   // 0, 0: FTDI's standard ids
        if (libusb_device* device = pick(context, devices)) {
            // Fails when the device node is not ours to open (no udev rule),
            // another program has claimed the interface, or the kernel's
            // driver would not be detached.
            status = ftdi_usb_open_dev(context, device) == 0 ? FT_OK : FT_DEVICE_NOT_OPENED;
            if (status != FT_OK && refused)
                refused(device);
        }
    }
    ftdi_list_free(&devices);   // the opened device keeps its own reference
    if (status != FT_OK)
        return nullptr;
    if (!port->StartReading()) {
        status = FT_DEVICE_NOT_OPENED;
        return nullptr;
    }
    return port;
}

FtdiUsb::FtdiUsb(ftdi_context* context)
    : context_(context)
{
}

FtdiUsb::~FtdiUsb()
{
    reader_.reset();
    ftdi_usb_close(context_);
    ftdi_free(context_);
}

// libftdi names the endpoints from the chip's side: its out_ep is the
// host's bulk-in endpoint. Its max_packet_size comes from the device's first
// endpoint descriptor (64 bytes, or 512 on a high-speed bridge).
bool FtdiUsb::StartReading()
{
    reader_ = std::make_unique<BulkReader>(context_->usb_ctx, context_->usb_dev,
                                           static_cast<unsigned char>(context_->out_ep), context_->max_packet_size);
    transferBytes_ = ReceiveQueue::DefaultReadChunk;
    return reader_->Start(transferBytes_);
}

int FtdiUsb::Read(unsigned char* buffer, int capacity)
{
    if (capacity <= 0)
        return 0;
    // The in-transfer size asked for applies from the next purge on, when no
    // transfer is in flight.
    transferBytes_ = static_cast<std::size_t>(capacity);
    return reader_->Read(buffer, static_cast<std::size_t>(capacity), ReadWaitMs);
}

// Called by the reader thread between two reads: the transfers in flight go
// back unread, the chip empties its FIFO towards the host, and new transfers
// go out for what the board sends after that.
bool FtdiUsb::DiscardReceived()
{
    reader_->Stop();
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (ftdi_tciflush(context_) != 0)
            return false;
    }
    return reader_->Start(transferBytes_);
}

int FtdiUsb::Write(const unsigned char* data, int count)
{
    std::lock_guard<std::mutex> lock(mutex_);
    return ftdi_write_data(context_, data, count);
}

bool FtdiUsb::DiscardTransmit()
{
    std::lock_guard<std::mutex> lock(mutex_);
    return ftdi_tcoflush(context_) == 0;
}
