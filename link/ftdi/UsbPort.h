#pragma once

// The USB side of the libftdi driver: what the receive queue and the D2XX
// layer need from one opened FTDI device. libftdi stands behind it on a real
// board; the tests put a scripted device behind it.
//
// Read and DiscardReceived come from the reader thread, Write and
// DiscardTransmit from the caller's thread, possibly at the same moment; an
// implementation whose library is not thread-safe takes turns itself.
class UsbPort {
public:
    virtual ~UsbPort() = default;

    // The received bytes, at most capacity of them, in the order the device
    // sent them; 0 when nothing came within one poll (at most some 50 ms);
    // negative on a USB error.
    virtual int Read(unsigned char* buffer, int capacity) = 0;
    // Drops every received byte the device and the USB library still hold.
    virtual bool DiscardReceived() = 0;
    // The number of bytes written, or negative on a USB error.
    virtual int Write(const unsigned char* data, int count) = 0;
    // Drops the bytes the device still holds for sending.
    virtual bool DiscardTransmit() = 0;
};
