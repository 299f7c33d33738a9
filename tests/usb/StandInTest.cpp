// The stand-in itself, under libftdi1's own calls: that libftdi really talks
// to it, and that the bridge answers libftdi's requests and both kinds of
// transfer as the chip would.

#include "UsbEmulation.h"

#include <ftdi.h>

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <chrono>
#include <cstring>
#include <memory>
#include <string>
#include <thread>

namespace {

struct FtdiDeleter {
    void operator()(ftdi_context* context) const
    {
        ftdi_usb_close(context);
        ftdi_free(context);
    }
};
using Ftdi = std::unique_ptr<ftdi_context, FtdiDeleter>;

Ftdi OpenBridge(std::uint16_t product)
{
    UsbEmulationSetup setup;
    setup.Usb.ProductId = product;
    UsbEmulation::Reset(setup);
    Ftdi ftdi(ftdi_new());
    if (ftdi && ftdi_usb_open(ftdi.get(), 0x0403, product) != 0)
        ftdi.reset();
    return ftdi;
}

bool Send(ftdi_context* ftdi, const char* command)
{
    const std::string line = std::string(command) + '\r';
    return ftdi_write_data(ftdi, reinterpret_cast<const unsigned char*>(line.data()), static_cast<int>(line.size())) ==
           static_cast<int>(line.size());
}

TEST(StandIn, IsTheLibusbThatLibftdiCalls)
{
    void* libftdi = dlopen("libftdi1.so.2", RTLD_NOW | RTLD_NOLOAD);
    ASSERT_NE(libftdi, nullptr);
    // A look-up through libftdi's handle follows its own dependencies.
    void* open = dlsym(libftdi, "libusb_open");
    Dl_info where{};
    ASSERT_NE(dladdr(open, &where), 0);
    EXPECT_NE(std::string(where.dli_fname).find("sim/usb/libusb-1.0.so"), std::string::npos) << where.dli_fname;
    dlclose(libftdi);
}

TEST(StandIn, PresentsEitherBridgeAsLibftdiKnowsIt)
{
    const Ftdi ft245 = OpenBridge(0x6001);
    ASSERT_TRUE(ft245);
    EXPECT_EQ(ft245->type, TYPE_R);
    EXPECT_EQ(ft245->max_packet_size, 64u);
    ftdi_device_list* devices = nullptr;
    ASSERT_EQ(ftdi_usb_find_all(ft245.get(), &devices, 0, 0), 1);
    char product[64] = "";
    EXPECT_EQ(ftdi_usb_get_strings2(ft245.get(), devices->dev, nullptr, 0, product, sizeof product, nullptr, 0), 0);
    EXPECT_STREQ(product, "KORVADEX Board (FT245R)");
    ftdi_list_free(&devices);
}

TEST(StandIn, HighSpeedBridgeHas512BytePackets)
{
    const Ftdi ft232h = OpenBridge(0x6014);
    ASSERT_TRUE(ft232h);
    EXPECT_EQ(ft232h->type, TYPE_232H);
    EXPECT_EQ(ft232h->max_packet_size, 512u);
}

TEST(StandIn, KeepsTheStateLibftdisRequestsSet)
{
    const Ftdi ftdi = OpenBridge(0x6001);
    ASSERT_TRUE(ftdi);
    EXPECT_EQ(ftdi_set_latency_timer(ftdi.get(), 2), 0);
    unsigned char latency = 0;
    EXPECT_EQ(ftdi_get_latency_timer(ftdi.get(), &latency), 0);
    EXPECT_EQ(latency, 2);
    EXPECT_EQ(ftdi_set_bitmode(ftdi.get(), 0xFF, BITMODE_SYNCFF), 0);
    EXPECT_EQ(ftdi_setflowctrl(ftdi.get(), SIO_RTS_CTS_HS), 0);
    unsigned short status = 0;
    EXPECT_EQ(ftdi_poll_modem_status(ftdi.get(), &status), 0);
    EXPECT_EQ(status, 0x6001);
    EXPECT_EQ(ftdi_tcioflush(ftdi.get()), 0);

    const UsbEmulationState state = UsbEmulation::State();
    EXPECT_EQ(state.LatencyTimer, 2);
    EXPECT_EQ(state.BitMode, (BITMODE_SYNCFF << 8) | 0xFF);
    EXPECT_EQ(state.FlowControl, SIO_RTS_CTS_HS);
    EXPECT_EQ(state.ReceivePurges, 1u);
    EXPECT_EQ(state.TransmitPurges, 1u);
}

TEST(StandIn, AnswersLibftdisSynchronousAndAsynchronousReads)
{
    const Ftdi ftdi = OpenBridge(0x6001);
    ASSERT_TRUE(ftdi);
    unsigned char reply[64] = {};
    // Synchronous: the reply comes in a short packet at the latency timer.
    ASSERT_TRUE(Send(ftdi.get(), "?"));
    EXPECT_EQ(ftdi_read_data(ftdi.get(), reply, sizeof reply), 3);
    EXPECT_EQ(std::memcmp(reply, "OK\r", 3), 0);
    // Asynchronous: libftdi's request completes once exactly filled.
    ASSERT_TRUE(Send(ftdi.get(), "U?"));
    ftdi_transfer_control* read = ftdi_read_data_submit(ftdi.get(), reply, 9);
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(ftdi_transfer_data_done(read), 9);
    EXPECT_EQ(std::memcmp(reply, "KORVADEX\r", 9), 0);
    ftdi_transfer_control* write =
        ftdi_write_data_submit(ftdi.get(), const_cast<unsigned char*>(reinterpret_cast<const unsigned char*>("V?\r")), 3);
    ASSERT_NE(write, nullptr);
    EXPECT_EQ(ftdi_transfer_data_done(write), 3);
    EXPECT_EQ(ftdi_read_data(ftdi.get(), reply, sizeof reply), 6);
    EXPECT_EQ(std::memcmp(reply, "V1.00\r", 6), 0);
}

// What makes the whole-run tests mean something: the chip passes data on
// only while the host asks, and the board loses what its FIFO cannot hold.
TEST(StandIn, ABoardNobodyReadsLosesSamplesInTheChip)
{
    const Ftdi ftdi = OpenBridge(0x6001);
    ASSERT_TRUE(ftdi);
    ASSERT_TRUE(Send(ftdi.get(), "FG"));
    ASSERT_TRUE(Send(ftdi.get(), "A2186A0"));
    // 50 ms of a 125 ksps two-channel run: 781 frames, 256 bytes of room.
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    const UsbEmulationState state = UsbEmulation::State();
    EXPECT_GT(state.LostSamples, 700u);
    EXPECT_EQ(state.BytesToHost, 0u);
    EXPECT_TRUE(Send(ftdi.get(), "AX"));
}

}  // namespace
