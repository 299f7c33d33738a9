#pragma once

#include <cstddef>
#include <vector>

struct libusb_context;
struct libusb_device_handle;
struct libusb_transfer;

// Reads an FTDI bridge's bulk-in endpoint with several USB transfers in
// flight, so the host keeps asking the chip for packets while the reader
// thread is busy elsewhere: the chip's own FIFO holds only a few
// milliseconds of a fast run, and bytes it cannot pass on are lost at the
// board. With 32 transfers of 4 KiB the host holds over a second of a
// 125 ksps two-channel run, enough for a reader held up by a busy machine.
// Each transfer's data is handed out in order, without the two
// modem-status bytes that start every USB packet.
//
// Used from one thread at a time: Start and Stop while nothing reads, Read
// from the reader thread.
class BulkReader {
public:
    static constexpr int InFlight = 32;
    static constexpr std::size_t MaxTransferBytes = 65536;

    BulkReader(libusb_context* context, libusb_device_handle* device, unsigned char endpoint, int packetSize);
    // Stops first: no transfer may outlive the device.
    ~BulkReader();

    BulkReader(const BulkReader&) = delete;
    BulkReader& operator=(const BulkReader&) = delete;

    // Submits every transfer, each of transferBytes (whole packets, at most
    // MaxTransferBytes; the buffers grow here if need be, never during a
    // run). False when the device refuses them or the reader has failed.
    bool Start(std::size_t transferBytes);
    // Cancels the transfers in flight and drops what they and the reader
    // hold; waits until the device has given every transfer back. One not
    // given back within a second stays the device's (never resubmitted nor
    // freed) and the reader fails from then on.
    void Stop();
    // The received data, at most capacity bytes, oldest first; 0 when no
    // transfer completed within waitMs; negative on a USB error (the device
    // gone, the endpoint stalled), and from then on.
    int Read(unsigned char* dest, std::size_t capacity, int waitMs);

private:
    struct Slot {
        libusb_transfer* transfer = nullptr;
        std::vector<unsigned char> buffer;
        std::size_t data = 0;      // bytes of data after the status bytes were removed
        std::size_t taken = 0;     // of those, handed out already
        int done = 0;              // 1 once the callback ran, 2 once stripped
        bool submitted = false;
    };

    static void Completed(libusb_transfer* transfer);
    bool Submit(Slot& slot);
    bool WaitFor(Slot& slot, int waitMs);
    void Strip(Slot& slot) const;
    int Fail();

    libusb_context* context_;
    libusb_device_handle* device_;
    unsigned char endpoint_;
    std::size_t packetSize_;
    std::size_t transferBytes_ = 0;
    std::vector<Slot> slots_;
    std::size_t next_ = 0;   // the slot whose data comes next
    bool failed_ = false;
};
