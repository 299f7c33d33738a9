#include "UsbBridge.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

using namespace std::chrono_literals;

namespace {

class UsbBridgeTest : public ::testing::Test {
protected:
    void SetUp() override { bridge.Attach(); }

    void Put(std::size_t count, BoardTime t = 0ms)
    {
        const std::vector<std::uint8_t> bytes(count, 0x5A);
        bridge.Write(bytes.data(), bytes.size(), t);
    }

    std::string Take(std::size_t count)
    {
        std::string bytes(count, '\0');
        bytes.resize(bridge.Read(reinterpret_cast<std::uint8_t*>(&bytes[0]), count));
        return bytes;
    }

    UsbBridge bridge;
};

TEST_F(UsbBridgeTest, FullPacketReachesTheHostAtOnce)
{
    Put(63);
    EXPECT_EQ(bridge.Queued(), 0u);
    Put(1);
    EXPECT_EQ(bridge.Queued(), 64u);
    EXPECT_FALSE(bridge.NextFlushTime());
    Put(130);
    EXPECT_EQ(bridge.Queued(), 192u);
}

TEST_F(UsbBridgeTest, PartialPacketWaitsForTheLatencyTimerFromItsFirstByte)
{
    const std::string reply = "OK\r";
    bridge.Write(reinterpret_cast<const std::uint8_t*>(reply.data()), 2, 5ms);
    bridge.Write(reinterpret_cast<const std::uint8_t*>(reply.data()) + 2, 1, 9ms);
    ASSERT_TRUE(bridge.NextFlushTime());
    EXPECT_EQ(*bridge.NextFlushTime(), 21ms);
    EXPECT_EQ(bridge.Queued(), 0u);
    bridge.FlushPartialPacket();
    EXPECT_EQ(Take(10), "OK\r");
    EXPECT_FALSE(bridge.NextFlushTime());
}

TEST_F(UsbBridgeTest, SendImmediateShipsThePartialPacketNow)
{
    Put(5);
    bridge.SendImmediate();
    EXPECT_EQ(bridge.Queued(), 5u);
}

TEST_F(UsbBridgeTest, ReadTakesAtMostWhatIsQueuedInOrder)
{
    std::vector<std::uint8_t> bytes(64);
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<std::uint8_t>(i);
    bridge.Write(bytes.data(), bytes.size(), 0ms);
    EXPECT_EQ(Take(10), std::string(bytes.begin(), bytes.begin() + 10));
    EXPECT_EQ(Take(100), std::string(bytes.begin() + 10, bytes.end()));
    EXPECT_EQ(Take(100), "");
}

TEST_F(UsbBridgeTest, QueueHoldsSixtyFourKibThenTheBoardSeesNoRoom)
{
    EXPECT_EQ(bridge.FreeBytes(), UsbBridge::QueueCapacity + UsbBridge::PacketSize);
    Put(UsbBridge::QueueCapacity);
    EXPECT_EQ(bridge.Queued(), UsbBridge::QueueCapacity);
    EXPECT_EQ(bridge.FreeBytes(), UsbBridge::PacketSize);
    Put(UsbBridge::PacketSize);
    EXPECT_EQ(bridge.FreeBytes(), 0u);
    EXPECT_FALSE(bridge.NextFlushTime());
    Put(10);  // beyond the room: not taken
    EXPECT_EQ(bridge.Queued(), UsbBridge::QueueCapacity);

    // Reading makes room for the held packet, which moves at once.
    Take(100);
    EXPECT_EQ(bridge.Queued(), UsbBridge::QueueCapacity - 100 + UsbBridge::PacketSize);
    EXPECT_EQ(bridge.FreeBytes(), UsbBridge::PacketSize);
}

TEST_F(UsbBridgeTest, RoomOnTheHostSideCountsInWholePackets)
{
    Put(UsbBridge::QueueCapacity - 64);
    Put(10);
    bridge.SendImmediate();  // the queue now has 54 bytes free, less than a packet
    EXPECT_EQ(bridge.FreeBytes(), 64u);
    Put(3);
    EXPECT_TRUE(bridge.NextFlushTime());
    Put(57);
    EXPECT_FALSE(bridge.NextFlushTime()) << "a partial packet that does not fit must wait for the host";
}

TEST_F(UsbBridgeTest, PurgeEmptiesQueueAndPacket)
{
    Put(100);
    bridge.PurgeReceive();
    EXPECT_EQ(bridge.Queued(), 0u);
    EXPECT_FALSE(bridge.NextFlushTime());
}

TEST_F(UsbBridgeTest, WithoutAHostOnlyThePacketBufferTakesBytes)
{
    Put(128);
    bridge.Detach();
    EXPECT_EQ(bridge.Queued(), 0u);
    EXPECT_EQ(bridge.FreeBytes(), 64u);
    Put(200);
    EXPECT_EQ(bridge.FreeBytes(), 0u);
    EXPECT_FALSE(bridge.NextFlushTime());
    bridge.Attach();
    EXPECT_EQ(bridge.Queued(), 64u);
}

TEST_F(UsbBridgeTest, CableComesOutAfterTheGivenBytesReachedTheHost)
{
    bridge.PullCableAfter(100);
    Put(64);
    EXPECT_FALSE(bridge.CablePulled());
    Put(64);
    EXPECT_TRUE(bridge.CablePulled());
    EXPECT_EQ(bridge.Queued(), 100u);
    EXPECT_EQ(bridge.FreeBytes(), 0u);
    EXPECT_FALSE(bridge.NextFlushTime());

    bridge.Reset();
    EXPECT_FALSE(bridge.CablePulled());
    EXPECT_EQ(bridge.Queued(), 0u);
}

TEST_F(UsbBridgeTest, CablePulledAtOnceForZeroBytes)
{
    bridge.PullCableAfter(0);
    EXPECT_TRUE(bridge.CablePulled());
}

}  // namespace
