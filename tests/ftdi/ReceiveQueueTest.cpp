#include "ftdi/ReceiveQueue.h"

#include "FakeUsbPort.h"
#include "Polling.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace {

// Takes from the queue in bites of `bite` bytes until `count` have come (or
// five seconds pass), checking the bound on the way.
std::vector<unsigned char> TakeAll(ReceiveQueue& queue, std::size_t count, std::size_t bite, std::size_t capacity)
{
    std::vector<unsigned char> got;
    std::vector<unsigned char> buffer(bite);
    WaitUntil([&] {
        EXPECT_LE(queue.Queued(), capacity);
        const std::size_t taken = queue.Take(buffer.data(), std::min(bite, count - got.size()));
        got.insert(got.end(), buffer.begin(), buffer.begin() + taken);
        return got.size() >= count;
    });
    return got;
}

// Sends the counting stream in packets of 1 to maxPacket bytes, pausing
// `pause` after each.
void Stream(FakeUsbPort& usb, std::size_t total, std::size_t maxPacket, std::chrono::microseconds pause)
{
    std::size_t sent = 0;
    for (std::size_t i = 0; sent < total; ++i) {
        const std::size_t size = std::min(total - sent, 1 + (i * 37) % maxPacket);
        usb.Arrive(Counting(sent, size));
        sent += size;
        if (pause.count() > 0)
            std::this_thread::sleep_for(pause);
    }
}

struct StreamCase {
    std::size_t capacity;                // of the queue
    std::size_t total;                   // bytes the board sends
    std::size_t maxPacket;               // its packets are 1 to maxPacket bytes
    std::chrono::microseconds pause;     // after each packet
    std::size_t bite;                    // the most the test takes at once
};

// The board streams from its own thread while the test takes; USB reads are
// 64 bytes, so larger packets take several.
std::vector<unsigned char> RunStream(const StreamCase& run)
{
    FakeUsbPort usb;
    ReceiveQueue queue(usb, run.capacity);
    queue.SetReadChunk(64);
    std::thread board([&] { Stream(usb, run.total, run.maxPacket, run.pause); });
    std::vector<unsigned char> got = TakeAll(queue, run.total, run.bite, run.capacity);
    board.join();
    return got;
}

TEST(ReceiveQueueStream, PacketsArriveWholeAndInOrderAcrossReadChunks)
{
    EXPECT_EQ(RunStream({4096, 10000, 200, std::chrono::microseconds(0), 333}), Counting(0, 10000));
}

TEST(ReceiveQueueStream, ReaderFasterThanTheStreamLosesNothing)
{
    EXPECT_EQ(RunStream({4096, 1000, 3, std::chrono::microseconds(50), 4096}), Counting(0, 1000));
}

TEST(ReceiveQueueStream, ReaderSlowerThanTheStreamLosesNothingAndStaysBounded)
{
    // A small ring: it wraps many times over and is full most of the time.
    EXPECT_EQ(RunStream({100, 5000, 64, std::chrono::microseconds(0), 7}), Counting(0, 5000));
}

TEST(ReceiveQueueBound, AFullQueueStopsTheReaderInsteadOfDropping)
{
    FakeUsbPort usb;
    ReceiveQueue queue(usb, 128);
    queue.SetReadChunk(64);
    ASSERT_TRUE(WaitUntil([&] { return usb.LastReadCapacity() == 64; }));   // no larger read still in hand
    usb.Arrive(Counting(0, 1000));
    ASSERT_TRUE(WaitUntil([&] { return queue.Queued() == 128; }));
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    // The ring plus one read in hand, no more: the rest waits at the device.
    EXPECT_EQ(queue.Queued(), 128u);
    EXPECT_LE(usb.Delivered(), 128u + 64u);
    EXPECT_GE(usb.Pending(), 1000u - 128u - 64u);
    EXPECT_EQ(TakeAll(queue, 1000, 50, 128), Counting(0, 1000));
}

// Lets the port's held reads go when the test ends, however it ends, so
// that the queue's reader can stop (declared after the queue).
struct ReleaseReads {
    FakeUsbPort& usb;
    ~ReleaseReads() { usb.HoldReads(false); }
};

TEST(ReceiveQueueBound, AnswersAtOnceWhileAUsbReadHangs)
{
    FakeUsbPort usb;
    ReceiveQueue queue(usb, 4096);
    const ReleaseReads release{usb};
    usb.Arrive(Counting(0, 10));
    ASSERT_TRUE(WaitUntil([&] { return queue.Queued() == 10; }));
    // Counted before the hold: the read that comes after it is held.
    const int readsBefore = usb.ReadCalls();
    usb.HoldReads(true);
    ASSERT_TRUE(WaitUntil([&] { return usb.ReadCalls() > readsBefore; }));   // now inside a held read
    unsigned char buffer[16] = {};
    EXPECT_EQ(queue.Queued(), 10u);
    EXPECT_EQ(queue.Take(buffer, sizeof buffer), 10u);
    EXPECT_EQ(queue.Take(buffer, sizeof buffer), 0u);
    EXPECT_EQ(std::vector<unsigned char>(buffer, buffer + 10), Counting(0, 10));
    usb.HoldReads(false);
}

// A reader held up past its time (a loaded host) is waited for when the
// ring is empty, so that the reply it is about to bring is not missed.
TEST(ReceiveQueueHeldUp, AnEmptyLookWaitsForAHeldUpReader)
{
    FakeUsbPort usb;
    usb.HoldReads(true);
    ReceiveQueue queue(usb, 4096, {std::chrono::milliseconds(0), std::chrono::seconds(30)});
    const ReleaseReads release{usb};
    ASSERT_TRUE(WaitUntil([&] { return usb.ReadCalls() > 0; }));   // inside a held read
    usb.Arrive(Counting(0, 3));
    std::thread letGo([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        usb.HoldReads(false);
    });
    EXPECT_EQ(queue.Queued(), 3u);
    letGo.join();
}

TEST(ReceiveQueueError, AUsbErrorIsFinal)
{
    FakeUsbPort usb;
    ReceiveQueue queue(usb, 4096);
    usb.Arrive(Counting(0, 10));
    usb.ArriveError();
    usb.Arrive(Counting(10, 10));
    ASSERT_TRUE(WaitUntil([&] { return queue.Failed(); }));
    const int readsAtError = usb.ReadCalls();
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(usb.ReadCalls(), readsAtError);   // the reader gave up
    EXPECT_EQ(usb.Pending(), 10u);
    EXPECT_FALSE(queue.Purge());
    EXPECT_EQ(usb.DiscardReceivedCalls(), 0);
}

TEST(ReceiveQueueError, AFailedDiscardIsAUsbError)
{
    FakeUsbPort usb;
    ReceiveQueue queue(usb, 4096);
    usb.FailDiscards();
    EXPECT_FALSE(queue.Purge());
    EXPECT_TRUE(queue.Failed());
}

TEST(ReceiveQueuePurge, DropsQueuedAndUnreadBytesAndKeepsLaterOnes)
{
    FakeUsbPort usb;
    ReceiveQueue queue(usb, 100);
    queue.SetReadChunk(64);
    usb.Arrive(Counting(0, 500));   // fills the ring, a read in hand, the rest at the device
    ASSERT_TRUE(WaitUntil([&] { return queue.Queued() == 100; }));
    ASSERT_TRUE(queue.Purge());
    EXPECT_EQ(queue.Queued(), 0u);
    EXPECT_EQ(usb.Pending(), 0u);
    EXPECT_EQ(usb.DiscardReceivedCalls(), 1);
    usb.Arrive(Counting(200, 5));
    EXPECT_EQ(TakeAll(queue, 5, 64, 100), Counting(200, 5));
    unsigned char extra = 0;
    EXPECT_EQ(queue.Take(&extra, 1), 0u);
}

TEST(ReceiveQueuePurge, WhileBytesArriveWhatFollowsIsAnUnbrokenStretch)
{
    FakeUsbPort usb;
    ReceiveQueue queue(usb, 256);
    queue.SetReadChunk(64);
    std::atomic<bool> streaming{true};
    std::thread board([&] {
        for (std::size_t sent = 0; streaming; sent += 32) {
            usb.Arrive(Counting(sent, 32));
            std::this_thread::sleep_for(std::chrono::microseconds(20));
        }
    });
    // After each purge, old bytes must not come back and none may be skipped
    // or swapped: every byte is one more than the one before it.
    std::size_t checked = 0;
    for (int purge = 0; purge < 30; ++purge) {
        ASSERT_TRUE(queue.Purge());
        std::vector<unsigned char> got = TakeAll(queue, 300, 41, 256);
        ASSERT_EQ(got.size(), 300u);
        for (std::size_t i = 1; i < got.size(); ++i)
            ASSERT_EQ(got[i], static_cast<unsigned char>(got[i - 1] + 1)) << "purge " << purge << ", byte " << i;
        checked += got.size();
    }
    streaming = false;
    board.join();
    EXPECT_EQ(checked, 30u * 300u);
    EXPECT_EQ(usb.DiscardReceivedCalls(), 30);
}

} // namespace
