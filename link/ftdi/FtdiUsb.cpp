#include "FtdiUsb.h"

#include "ReceiveQueue.h"

#include <ftdi.h>

namespace {

// How long one Read waits for a transfer to come back. The chip answers
// within its latency time (16 ms) even when it has nothing, so this only
// bounds how late the reader thread notices that it should stop.
constexpr int ReadWaitMs = 50;

// Opens the deviceNumber-th FTDI device of the standard product ids.
FT_STATUS OpenNthDevice(ftdi_context* context, int deviceNumber)
{
    ftdi_device_list* devices = nullptr;
    const int found = ftdi_usb_find_all(context, &devices, 0, 0);   // 0, 0: FTDI's standard ids
    ftdi_device_list* entry = devices;
    for (int i = 0; entry != nullptr && i < deviceNumber; ++i)
        entry = entry->next;
    FT_STATUS status = FT_DEVICE_NOT_FOUND;
    if (found > 0 && deviceNumber >= 0 && entry != nullptr) {
        // Fails when the device node is not ours to open (no udev rule) or
        // another program has claimed the interface.
        status = ftdi_usb_open_dev(context, entry->dev) == 0 ? FT_OK : FT_DEVICE_NOT_OPENED;
    }
    ftdi_list_free(&devices);   // the opened device keeps its own reference
    return status;
}

} // namespace

std::unique_ptr<UsbPort> FtdiUsb::Open(int deviceNumber, FT_STATUS& status)
{
    status = FT_DEVICE_NOT_FOUND;
    ftdi_context* context = ftdi_new();   // null when libusb cannot start: no USB to search
    if (context == nullptr)
        return nullptr;
    std::unique_ptr<FtdiUsb> port(new FtdiUsb(context));
    status = OpenNthDevice(context, deviceNumber);
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
