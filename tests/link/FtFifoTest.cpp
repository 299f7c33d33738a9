#include "Ft_fifo.h"

#include "LinkTest.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <memory>
#include <thread>
#include <vector>

namespace {

using Call = FakeD2xx::Call;
using namespace std::chrono_literals;

class FifoTest : public LinkTest {
protected:
    std::string Exact(std::int32_t count, bool expectOk = true)
    {
        std::vector<std::uint8_t> dest(static_cast<std::size_t>(count));
        std::int32_t got = -1;
        EXPECT_EQ(link.ReadExact(dest.data(), count, got), expectOk);
        return std::string(dest.begin(), dest.begin() + got);
    }

    Tft_FIFO link{nullptr, fake};
};

// --- opening and closing --------------------------------------------------

TEST_F(FifoTest, OpenPreparesTheFirstDeviceWithA4096ByteTransferAndPurgesBothQueues)
{
    fake.Arrive("stale");
    ASSERT_TRUE(link.Open());
    EXPECT_EQ(fake.openedDevice, 0);
    EXPECT_EQ(fake.inTransferSize, 4096u);
    EXPECT_EQ(fake.outTransferSize, 0u);
    EXPECT_EQ(fake.purgeMask, ULONG{FT_PURGE_RX | FT_PURGE_TX});
    EXPECT_EQ(fake.Queued(), 0u);
}

TEST_F(FifoTest, OpenOnAnOpenLinkSucceedsWithoutTouchingTheDriver)
{
    ASSERT_TRUE(link.Open());
    const int before = fake.TotalCalls();
    EXPECT_TRUE(link.Open());
    EXPECT_TRUE(link.OpenDevice(512));
    EXPECT_EQ(fake.TotalCalls(), before);
}

// The fake writes a bogus handle when FT_Open fails, so a link that kept it
// would go on calling the driver.
TEST_F(FifoTest, EachFailedOpeningStepLeavesTheLinkClosed)
{
    for (Call failing : {FakeD2xx::Open, FakeD2xx::SetUSBParameters, FakeD2xx::Purge}) {
        SCOPED_TRACE(FakeD2xx::CallName(failing));
        FakeD2xx driver;
        driver.FailCall(failing, 1, FT_DEVICE_NOT_FOUND);
        Tft_FIFO fifo(nullptr, driver);
        EXPECT_FALSE(fifo.Open());
        EXPECT_FALSE(driver.IsOpen());
        const int before = driver.TotalCalls();
        EXPECT_FALSE(fifo.SendCommand("?"));
        EXPECT_EQ(driver.TotalCalls(), before);
        EXPECT_TRUE(fifo.Open()) << "a later attempt opens the device again";
    }
}

TEST_F(FifoTest, AFailedPurgeClosesTheLink)
{
    ASSERT_TRUE(link.Open());
    fake.FailCall(FakeD2xx::Purge, 2);
    EXPECT_FALSE(link.Purge());
    EXPECT_FALSE(fake.IsOpen());
    EXPECT_FALSE(link.SendCommand("?"));
    EXPECT_EQ(fake.Calls(FakeD2xx::Write), 0);
}

TEST_F(FifoTest, CloseDevicePurgesThenClosesAndIsHarmlessOnAClosedLink)
{
    ASSERT_TRUE(link.Open());
    link.CloseDevice();
    EXPECT_EQ(fake.Calls(FakeD2xx::Purge), 2);
    EXPECT_EQ(fake.Calls(FakeD2xx::Close), 1);
    EXPECT_FALSE(fake.IsOpen());
    const int before = fake.TotalCalls();
    link.CloseDevice();
    EXPECT_EQ(fake.TotalCalls(), before);
}

TEST_F(FifoTest, DestroyingAnOpenLinkPurgesAndClosesTheDevice)
{
    FakeD2xx driver;
    {
        Tft_FIFO fifo(nullptr, driver);
        ASSERT_TRUE(fifo.Open());
    }
    EXPECT_GE(driver.Calls(FakeD2xx::Purge), 2);
    EXPECT_EQ(driver.Calls(FakeD2xx::Close), 1);
    EXPECT_FALSE(driver.IsOpen());
}

TEST_F(FifoTest, DestroyingAClosedLinkLeavesTheDriverAlone)
{
    FakeD2xx driver;
    { Tft_FIFO fifo(nullptr, driver); }
    EXPECT_EQ(driver.TotalCalls(), 0);
}

TEST_F(FifoTest, TheTimerMayGoWithItsOwnerFirst)
{
    auto owner = std::make_unique<QObject>();
    Tft_FIFO fifo(owner.get(), fake);
    ASSERT_TRUE(fifo.Open());
    owner.reset();
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(fifo.SendAndWaitOK("?")) << "without its timer a wait gives up at once";
    EXPECT_LT(clock.elapsed(), 1000);
    // It gives up after the one look that follows every time-out.
    fake.Arrive("OK\r");
    EXPECT_TRUE(fifo.SendAndWaitOK("?"));
}

TEST_F(FifoTest, EveryOperationOnAClosedLinkFailsWithoutTouchingTheDriver)
{
    std::uint8_t bytes[8];
    char line[8];
    DWORD available = 99;
    std::int32_t exact = 99;
    EXPECT_FALSE(link.Purge());
    EXPECT_FALSE(link.SendCommand("?"));
    EXPECT_FALSE(link.ReadAvailable(bytes, sizeof bytes, available));
    EXPECT_FALSE(link.ReadExact(bytes, 3, exact));
    EXPECT_FALSE(link.SendAndWaitOK("?"));
    EXPECT_FALSE(link.SendAndReadLine("U?", line, sizeof line));
    link.CloseDevice();
    EXPECT_EQ(available, 0u);
    EXPECT_EQ(exact, 0);
    EXPECT_EQ(fake.TotalCalls(), 0);
}

// --- commands ---------------------------------------------------------------

TEST_F(FifoTest, ACommandGoesOutUnchangedWithOneCarriageReturn)
{
    ASSERT_TRUE(link.Open());
    EXPECT_TRUE(link.SendCommand("u?"));
    EXPECT_TRUE(link.SendCommand(""));
    EXPECT_EQ(fake.Writes(), (std::vector<std::string>{"u?\r", "\r"}));
}

TEST_F(FifoTest, NineteenCharactersAreSentAsTwentyBytesAndTwentyAreRefused)
{
    ASSERT_TRUE(link.Open());
    EXPECT_TRUE(link.SendCommand("0123456789ABCDEFGHI"));
    EXPECT_FALSE(link.SendCommand("0123456789ABCDEFGHIJ"));
    EXPECT_FALSE(link.SendCommand(nullptr));
    ASSERT_EQ(fake.Writes().size(), 1u);
    EXPECT_EQ(fake.Writes()[0], "0123456789ABCDEFGHI\r");
}

TEST_F(FifoTest, AFailedWriteIsReported)
{
    ASSERT_TRUE(link.Open());
    fake.FailCall(FakeD2xx::Write, 1);
    EXPECT_FALSE(link.SendCommand("?"));
}

// --- reading what is there ----------------------------------------------------

TEST_F(FifoTest, ReadAvailableTakesWhatIsQueuedUpToTheCapacity)
{
    ASSERT_TRUE(link.Open());
    std::uint8_t dest[4];
    DWORD got = 0;
    EXPECT_TRUE(link.ReadAvailable(dest, sizeof dest, got));
    EXPECT_EQ(got, 0u);
    EXPECT_EQ(fake.Calls(FakeD2xx::Read), 0) << "nothing queued, nothing read";

    fake.Arrive("abcdef");
    EXPECT_TRUE(link.ReadAvailable(dest, sizeof dest, got));
    EXPECT_EQ(std::string(dest, dest + got), "abcd");
    EXPECT_EQ(fake.Queued(), 2u);
}

TEST_F(FifoTest, ReadExactDeliversNothingUntilTheWholeBlockIsThere)
{
    ASSERT_TRUE(link.Open());
    const std::string block(3000, 'x');
    fake.Arrive(block.substr(0, 2999));
    EXPECT_EQ(Exact(3000), "");
    EXPECT_EQ(fake.Queued(), 2999u) << "nothing consumed";
    fake.Arrive("y");
    EXPECT_EQ(Exact(3000), block.substr(0, 2999) + "y");
    EXPECT_EQ(fake.Queued(), 0u);
}

TEST_F(FifoTest, ReadExactNeverWritesPastItsCountAndLeavesTheRestQueued)
{
    ASSERT_TRUE(link.Open());
    fake.Arrive("abcdefgh");
    std::vector<std::uint8_t> dest(6, '#');
    std::int32_t got = 0;
    EXPECT_TRUE(link.ReadExact(dest.data(), 5, got));
    EXPECT_EQ(got, 5);
    EXPECT_EQ(std::string(dest.begin(), dest.end()), "abcde#");
    EXPECT_EQ(link.Waiting(), 3) << "known without asking the driver again";
    EXPECT_EQ(Exact(3), "fgh");
    EXPECT_EQ(link.Waiting(), 0);
}

TEST_F(FifoTest, ReadExactReportsAFailingDriver)
{
    ASSERT_TRUE(link.Open());
    fake.Arrive("abcdef");
    fake.FailCall(FakeD2xx::GetQueueStatus, 1);
    EXPECT_EQ(Exact(3, false), "");
    fake.FailCall(FakeD2xx::Read, 1);
    EXPECT_EQ(Exact(3, false), "");
}

TEST_F(FifoTest, ReadExactRefusesACountBelowOne)
{
    ASSERT_TRUE(link.Open());
    fake.Arrive("abc");
    std::uint8_t dest[1];
    std::int32_t got = 7;
    EXPECT_FALSE(link.ReadExact(dest, 0, got));
    EXPECT_FALSE(link.ReadExact(dest, -3, got));
    EXPECT_EQ(got, 0);
    EXPECT_EQ(fake.Queued(), 3u);
}

// A driver that hands over fewer bytes than it reported queued must not cost
// a byte of the stream: they are carried over, in order, to the next read.
TEST_F(FifoTest, BytesOfAShortDriverReadAreCarriedOverInOrder)
{
    ASSERT_TRUE(link.Open());
    fake.Arrive("0123456789");
    fake.LimitReadsTo(4);
    EXPECT_EQ(Exact(6), "") << "4 of 6 bytes came";
    EXPECT_EQ(Exact(6), "012345");
    EXPECT_EQ(Exact(3), "678") << "served from the carried-over bytes alone";
    EXPECT_EQ(Exact(3), "") << "one carried byte, none queued";
    fake.Arrive("ABCD");
    EXPECT_EQ(Exact(3), "9AB");
    EXPECT_EQ(Exact(2), "CD");
}

TEST_F(FifoTest, PurgeDropsCarriedOverBytes)
{
    ASSERT_TRUE(link.Open());
    fake.Arrive("stale");
    fake.LimitReadsTo(2);
    EXPECT_EQ(Exact(5), "");
    EXPECT_EQ(link.Waiting(), 5) << "two carried, three still queued";
    ASSERT_TRUE(link.Purge());
    EXPECT_EQ(link.Waiting(), 0);
    fake.LimitReadsTo(100);
    fake.Arrive("fresh");
    EXPECT_EQ(Exact(5), "fresh");
}

TEST_F(FifoTest, AShortReadTooLargeToCarryOverFails)
{
    ASSERT_TRUE(link.Open());
    fake.Arrive(std::string(20000, 'z'));
    fake.LimitReadsTo(Tft_FIFO::RxBufSize + 1);
    EXPECT_EQ(Exact(20000, false), "");
}

// --- waiting for "OK" CR ------------------------------------------------------

TEST_F(FifoTest, OkAndCrInSeparatePacketsAreAccepted)
{
    ASSERT_TRUE(link.Open());
    fake.Answer("?\r", {"OK", "", "", "\r"});
    EXPECT_TRUE(link.SendAndWaitOK("?"));
    EXPECT_EQ(fake.Written(), "?\r");
}

TEST_F(FifoTest, AnythingButOkCrIsARefusal)
{
    ASSERT_TRUE(link.Open());
    for (const char* reply : {"NG\r", "OK\n", "ok\r", "KO\r"}) {
        SCOPED_TRACE(reply);
        fake.Answer("?\r", {reply});
        EXPECT_FALSE(link.SendAndWaitOK("?"));
        ASSERT_TRUE(link.Purge());
    }
}

TEST_F(FifoTest, SilenceFailsAfterTheTimeOutAndTheNextWaitStartsClean)
{
    ASSERT_TRUE(link.Open());
    link.SetTimeOut(20);
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(link.SendAndWaitOK("?"));
    EXPECT_GE(clock.elapsed(), 20);

    link.SetTimeOut(2000);
    fake.ArriveAfter(5ms, "OK\r");
    EXPECT_TRUE(link.SendAndWaitOK("?"));
}

TEST_F(FifoTest, TheTimeOutRunsFromTheStartOfTheWaitNotFromTheLastByte)
{
    ASSERT_TRUE(link.Open());
    link.SetTimeOut(30);
    fake.ArriveAfter(0ms, "O");
    fake.ArriveAfter(15ms, "K");
    fake.ArriveAfter(150ms, "\r");
    EXPECT_FALSE(link.SendAndWaitOK("?"));
}

// The program is held past the time-out (a busy machine) while the board's
// answer arrives: the wait still takes it, in both kinds of wait.
TEST_F(FifoTest, AReplyThatArrivedWhileTheProgramWasHeldPastTheTimeOutIsRead)
{
    ASSERT_TRUE(link.Open());
    link.SetTimeOut(20);
    const auto holdPastTheTimeOut = [this](const std::string& reply) {
        QTimer::singleShot(0, [this, reply] {
            std::this_thread::sleep_for(60ms);
            fake.Arrive(reply);
            // The time-out's expiry is handled before the wait goes on.
            QCoreApplication::processEvents();
        });
    };
    holdPastTheTimeOut("OK\r");
    EXPECT_TRUE(link.SendAndWaitOK("?"));
    holdPastTheTimeOut("KORVADEX\r");
    char line[24];
    EXPECT_TRUE(link.SendAndReadLine("U?", line, sizeof line));
    EXPECT_STREQ(line, "KORVADEX");
}

TEST_F(FifoTest, TheWindowsEventsRunDuringAWait)
{
    ASSERT_TRUE(link.Open());
    QTimer::singleShot(5, [this] { fake.Arrive("OK\r"); });
    EXPECT_TRUE(link.SendAndWaitOK("?"));
}

TEST_F(FifoTest, AWaitEndsAtTheFirstDriverFailure)
{
    ASSERT_TRUE(link.Open());
    link.SetTimeOut(5000);
    fake.FailEveryCall(FakeD2xx::GetQueueStatus);
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(link.SendAndWaitOK("?"));
    char line[24];
    EXPECT_FALSE(link.SendAndReadLine("U?", line, sizeof line));
    EXPECT_LT(clock.elapsed(), 1000);
}

// --- waiting for a reply line -------------------------------------------------

TEST_F(FifoTest, AReplyLineComesBackWithoutItsCr)
{
    ASSERT_TRUE(link.Open());
    fake.Answer("V?\r", {"1.", "2", "3\r"});
    char line[24];
    ASSERT_TRUE(link.SendAndReadLine("V?", line, sizeof line));
    EXPECT_STREQ(line, "1.23");
}

TEST_F(FifoTest, FifteenCharactersAndCrAlwaysFit)
{
    ASSERT_TRUE(link.Open());
    fake.Answer("U?\r", {"ABCDEFGHIJKLMNO\r"});
    char line[24];
    ASSERT_TRUE(link.SendAndReadLine("U?", line, sizeof line));
    EXPECT_STREQ(line, "ABCDEFGHIJKLMNO");
}

TEST_F(FifoTest, SixteenBytesWithoutCrFailAtOnce)
{
    ASSERT_TRUE(link.Open());
    link.SetTimeOut(5000);
    fake.Answer("U?\r", {"ABCDEFGH", "IJKLMNOP", "\r"});
    char line[24];
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(link.SendAndReadLine("U?", line, sizeof line));
    EXPECT_LT(clock.elapsed(), 1000) << "gave up without waiting for the time-out";
}

TEST_F(FifoTest, BytesAfterTheCrInTheSameChunkFail)
{
    ASSERT_TRUE(link.Open());
    fake.Answer("U?\r", {"abc\rX"});
    char line[24];
    EXPECT_FALSE(link.SendAndReadLine("U?", line, sizeof line));
}

TEST_F(FifoTest, ASilentBoardFailsTheLineReaderAfterTheTimeOut)
{
    ASSERT_TRUE(link.Open());
    link.SetTimeOut(20);
    char line[24];
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(link.SendAndReadLine("U?", line, sizeof line));
    EXPECT_GE(clock.elapsed(), 20);
}

TEST_F(FifoTest, TheLineReaderStaysInsideASmallDestination)
{
    ASSERT_TRUE(link.Open());
    link.SetTimeOut(5000);
    fake.Answer("U?\r", {"abcdef\r"});
    auto line = std::make_unique<char[]>(4);
    EXPECT_FALSE(link.SendAndReadLine("U?", line.get(), 4));
    EXPECT_EQ(std::string(line.get(), 4), "abcd");
    EXPECT_EQ(fake.Queued(), 3u);
    EXPECT_FALSE(link.SendAndReadLine("U?", line.get(), 0));
}

// Carried-over sample bytes are stream data, not reply text, and must come
// through a reply exchange untouched.
TEST_F(FifoTest, AReplyExchangeLeavesCarriedOverBytesIntact)
{
    ASSERT_TRUE(link.Open());
    fake.Arrive("sample");
    fake.LimitReadsTo(3);
    EXPECT_EQ(Exact(6), "") << "\"sam\" carried over";
    std::uint8_t rest[3];
    DWORD got = 0;
    ASSERT_TRUE(link.ReadAvailable(rest, sizeof rest, got));
    ASSERT_EQ(got, 3u);

    fake.Answer("V?\r", {"9.9\r"});
    char line[24];
    ASSERT_TRUE(link.SendAndReadLine("V?", line, sizeof line));
    EXPECT_STREQ(line, "9.9");
    EXPECT_EQ(Exact(3), "sam");
}

// --- HexDigit ---------------------------------------------------------------------

TEST(HexDigit, CoversTheSeventeenRateDigitsAndMarksAnythingElse)
{
    std::string digits;
    for (int value = 0; value <= 16; ++value) {
        digits += HexDigit(value);
    }
    EXPECT_EQ(digits, "0123456789ABCDEFG");
    EXPECT_EQ(HexDigit(-1), 'X');
    EXPECT_EQ(HexDigit(17), 'X');
    EXPECT_EQ(HexDigit(256), 'X');
}

} // namespace
