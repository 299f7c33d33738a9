#include "FtdiUsb.h"

#include <ftdi.h>

namespace {

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
    return port;
}

FtdiUsb::FtdiUsb(ftdi_context* context)
    : context_(context)
{
    unsigned int chunk = 0;
    if (ftdi_read_data_get_chunksize(context_, &chunk) == 0)
        libraryChunk_ = static_cast<int>(chunk);
}

FtdiUsb::~FtdiUsb()
{
    ftdi_usb_close(context_);
    ftdi_free(context_);
}

int FtdiUsb::Read(unsigned char* buffer, int capacity)
{
    std::lock_guard<std::mutex> lock(mutex_);
    FollowReadChunk(capacity);
    // libftdi strips the two modem-status bytes the bridge puts in front of
    // every USB packet, and returns early when a packet carries nothing else.
    const int got = ftdi_read_data(context_, buffer, capacity);
    // A short read means the bridge had nothing more and libftdi kept nothing back.
    libraryHoldsNothing_ = got >= 0 && got < capacity;
    return got;
}

bool FtdiUsb::DiscardReceived()
{
    std::lock_guard<std::mutex> lock(mutex_);
    if (ftdi_tciflush(context_) != 0)
        return false;
    libraryHoldsNothing_ = true;
    return true;
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

void FtdiUsb::FollowReadChunk(int capacity)
{
    // libftdi drops what it holds back when its chunk size changes, so the
    // change waits for a moment when it holds nothing.
    if (capacity == libraryChunk_ || !libraryHoldsNothing_)
        return;
    if (ftdi_read_data_set_chunksize(context_, static_cast<unsigned int>(capacity)) == 0)
        libraryChunk_ = capacity;
}
