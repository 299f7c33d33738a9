#pragma once

#include <chrono>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// What is connected to one input pair.
struct ChannelSignal {
    double DcMicrovolts = 0.0;
    double NoiseScale = 1.0;  // times the converter model's RMS noise; 0 = none
    double SineMicrovolts = 0.0;  // amplitude (peak)
    double SineHz = 0.0;
    // Gaussian noise of its own on top of the model's, µV RMS at the input:
    // one board of several can be noisier than the rest.
    double ExtraNoiseMicrovolts = 0.0;
};

struct SignalConfig {
    ChannelSignal Channel[2] = {{1000.0, 1.0, 0.0, 0.0}, {-2000.0, 1.0, 0.0, 0.0}};
    // Instead of the inputs: every sample one code more than the last
    // (modulo 2^24), starting at CounterStart with the first sample of a
    // run; CH1 carries CH0's value plus CounterCh1Offset. Any lost or
    // repeated sample shows as a break in the count.
    bool CounterPattern = false;
    std::uint32_t CounterStart = 0;
    std::uint32_t CounterCh1Offset = 0x800000;
    // The noise sequence; without a seed every board draws a fresh one.
    std::optional<std::uint64_t> Seed;
};

// The ways the board, its cable or its firmware can let the host down.
struct BoardFaults {
    bool Absent = false;        // no device: FT_Open fails
    bool Silent = false;        // firmware hangs: no reply, no stream
    bool NgToAll = false;       // every command answered "NG" CR
    bool NgToSettings = false;  // identifies, but "S3", "S5" and "F" are answered "NG" CR
    bool WrongName = false;     // "U?" answered "KORVADEX2"
    bool Garbled = false;       // reply characters have bit 7 flipped; CR kept
    bool SplitReply = false;    // the CR of a reply comes in a later USB packet
    bool ExtraBytes = false;    // a line feed follows every reply's CR
    // The cable comes out once this many bytes have reached the host; every
    // driver call fails from then on.
    std::optional<std::uint64_t> CablePullAfterBytes;
    // That cable goes back in this long after it came out, on the board's
    // clock: the board is on the bus again, powered up afresh. Only the first
    // pull is followed by a replug, since a replugged board pulls no more,
    // unless the pulls repeat: then the replugged board is pulled again after
    // as many bytes, and so on for ever.
    std::optional<std::chrono::nanoseconds> ReplugAfter;
    bool ReplugRepeats = false;
    // A run stops sending after this many samples (frames in mode 2) and stays
    // running until "AX".
    std::optional<std::uint64_t> StallAfterSamples;
};

struct BoardConfig {
    SignalConfig Signals;
    BoardFaults Faults;
    // For tests that act on what the host has taken: a file made once the
    // host has read every byte a stalled run sent (StallAfterSamples).
    std::string StallMark;
    // The bridge's latency timer: how long a partial packet (a reply) waits
    // before it goes to the host. The chip takes 1 to 255 ms.
    std::chrono::nanoseconds LatencyTimer = std::chrono::milliseconds(16);
    std::string Name = "KORVADEX";
    std::string Version = "V1.00";
};

// One FTDI device on the drop-in library's bus: a KORVADEX Board, or a
// USB-serial adapter that is not one, silent or echoing what it is sent.
struct SimDevice {
    enum class Kind { Board, SilentAdapter, EchoAdapter };
    std::string Serial;
    Kind Type = Kind::Board;
    bool Busy = false;  // open in another program: listed as opened, cannot be opened
    // USB only (sim/usb); the drop-in D2XX library lists such a device as usual.
    bool NoAccess = false;      // no udev rule: the device node cannot be opened
    bool KernelDriver = false;  // the kernel's serial driver is bound and will not let go
    // A board's own inputs, on top of every board's channel signals (both
    // channels alike), so that one board of several can read differently.
    double ExtraNoiseMicrovolts = 0.0;  // µV RMS, independent of the model's noise
    double OffsetMicrovolts = 0.0;      // added to the DC level
};

// The drop-in library's devices, in index order; by default one board.
inline std::vector<SimDevice> DefaultSimDevices()
{
    return {SimDevice{"KVX0001", SimDevice::Kind::Board, false}};
}

// The board `device` stands for: every board's configuration, with the
// device's own offset on both DC levels and its extra noise, being
// independent, added in quadrature to any already there.
inline BoardConfig BoardOfDevice(const BoardConfig& everyBoard, const SimDevice& device)
{
    BoardConfig board = everyBoard;
    for (ChannelSignal& channel : board.Signals.Channel) {
        channel.DcMicrovolts += device.OffsetMicrovolts;
        channel.ExtraNoiseMicrovolts = std::hypot(channel.ExtraNoiseMicrovolts, device.ExtraNoiseMicrovolts);
    }
    return board;
}

// The FTDI bridge as the libusb stand-in (sim/usb) presents it on the bus, and
// the ways USB can let the host down there.
struct UsbBridgeFaults {
    bool Absent = false;             // no FTDI device on the bus
    bool AccessDenied = false;       // opening the device is not permitted
    bool Busy = false;               // another program has claimed its interface
    bool KernelDriver = false;       // the kernel's serial driver is bound and must be detached first
    bool KernelDriverStays = false;  // that driver is bound and detaching it fails
    bool ShortPackets = false;       // no packet carries more than 16 bytes of data
    bool ZeroLengthPackets = false;  // a zero-length packet follows every full packet
    // The device is unplugged once this many data bytes have reached the host.
    std::optional<std::uint64_t> RemoveAfterBytes;
    // The bulk-in endpoint halts once this many data bytes have reached the host.
    std::optional<std::uint64_t> StallAfterBytes;
};

struct UsbBridgeConfig {
    // 0x6001: FT245R-style, 64-byte packets; 0x6014: FT232H-style, 512-byte packets.
    std::uint16_t ProductId = 0x6001;
    UsbBridgeFaults Faults;
    // The USB product string; empty names the board and its bridge,
    // "KORVADEX Board (FT245R)".
    std::string Product;
    std::string Serial = "KVX00001";
    // TX wired to RX, as on a loopback adapter: every byte from the host comes
    // back, and whatever is behind the chip hears nothing.
    bool Loopback = false;
};
