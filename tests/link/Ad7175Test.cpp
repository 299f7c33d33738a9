#include "Ad7175.h"

#include "LinkTest.h"

#include <QElapsedTimer>

#include <vector>

namespace {

class BoardTest : public LinkTest {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(adc.OpenBoard());
    }

    TADC adc{nullptr, fake};
};

// Two consecutive 24-bit codes as the board streams them.
std::string Frame(std::int32_t ch0, std::int32_t ch1)
{
    return Bytes({static_cast<unsigned char>(ch0 >> 16), static_cast<unsigned char>(ch0 >> 8),
                  static_cast<unsigned char>(ch0), static_cast<unsigned char>(ch1 >> 16),
                  static_cast<unsigned char>(ch1 >> 8), static_cast<unsigned char>(ch1)});
}

// --- connecting -------------------------------------------------------------------

TEST_F(LinkTest, OpenBoardOpensTheLinkAndPurgesOnceMore)
{
    TADC adc(nullptr, fake);
    ASSERT_TRUE(adc.OpenBoard());
    EXPECT_EQ(fake.Calls(FakeD2xx::Purge), 2);
    EXPECT_EQ(fake.inTransferSize, 4096u);
}

TEST_F(LinkTest, OpenBoardFailsWhenNoDeviceIsAttached)
{
    fake.FailEveryCall(FakeD2xx::Open, FT_DEVICE_NOT_FOUND);
    TADC adc(nullptr, fake);
    EXPECT_FALSE(adc.OpenBoard());
    EXPECT_FALSE(adc.CheckBoard());
    EXPECT_EQ(fake.Calls(FakeD2xx::Write), 0);
}

TEST_F(BoardTest, TheConnectSequenceIdentifiesTheBoard)
{
    fake.Answer("?\r", {"OK\r"});
    fake.Answer("U?\r", {"KORVA", "DEX\r"});
    fake.Answer("V?\r", {"2.01\r"});
    char name[TADC::NameLength + 1];
    char version[TADC::NameLength + 1];
    ASSERT_TRUE(adc.CheckBoard());
    ASSERT_TRUE(adc.GetBoardName(name));
    ASSERT_TRUE(adc.GetVersion(version));
    EXPECT_STREQ(name, "KORVADEX");
    EXPECT_STREQ(version, "2.01");
    EXPECT_EQ(fake.Written(), "?\rU?\rV?\r");
}

TEST_F(BoardTest, CheckBoardWithoutAnAnswerFailsAfterAbout100ms)
{
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(adc.CheckBoard());
    EXPECT_GE(clock.elapsed(), 100);
    EXPECT_LT(clock.elapsed(), 500) << "the waiting commands use 100 ms, not the link's 500";
}

TEST_F(BoardTest, QueriesAndSetCommandsPurgeWhatAnAbortedRunLeftQueued)
{
    fake.Answer("?\r", {"OK\r"});
    fake.Answer("S3\r", {"OK\r"});
    fake.Answer("U?\r", {"KORVADEX\r"});
    char name[TADC::NameLength + 1];
    fake.Arrive(std::string(300, '\x7f'));
    EXPECT_TRUE(adc.CheckBoard());
    fake.Arrive(std::string(300, '\x7f'));
    EXPECT_TRUE(adc.SetSinc3());
    fake.Arrive(std::string(300, '\x7f'));
    EXPECT_TRUE(adc.GetBoardName(name));
}

TEST_F(BoardTest, ARefusedQueryFails)
{
    char name[TADC::NameLength + 1];
    for (const char* reply : {"NG\r", "N\r", "xG12\r"}) {
        SCOPED_TRACE(reply);
        fake.Answer("U?\r", {reply});
        EXPECT_FALSE(adc.GetBoardName(name));
    }
}

TEST_F(BoardTest, ALongNameIsCutToTenCharacters)
{
    fake.Answer("U?\r", {"ABCDEFGHIJKL\r"});
    char name[TADC::NameLength + 1];
    ASSERT_TRUE(adc.GetBoardName(name));
    EXPECT_STREQ(name, "ABCDEFGHIJ");
}

// An empty line holds no second character; the previous reply's must not be
// taken for one.
TEST_F(BoardTest, AnEmptyReplyLineIsAnEmptyTextNotARefusal)
{
    char version[TADC::NameLength + 1];
    fake.Answer("V?\r", {"1G\r"});
    ASSERT_FALSE(adc.GetVersion(version));
    fake.Answer("V?\r", {"\r"});
    ASSERT_TRUE(adc.GetVersion(version));
    EXPECT_STREQ(version, "");
}

// --- configuring a run -------------------------------------------------------------

// The filter and rate commands wait for "OK" CR; a refusal, a garbled line
// and silence are told apart, in words for the log.
TEST_F(BoardTest, TheSettingCommandsWaitForOkAndSayWhatCameInstead)
{
    fake.Answer("S3\r", {"OK\r"});
    fake.Answer("S5\r", {"NG\r"});
    fake.Answer("F1\r", {"\xCF\xCB\r"});
    EXPECT_TRUE(adc.SetSinc3());
    EXPECT_STREQ(adc.LastSettingFault(), "");
    EXPECT_FALSE(adc.SetSinc5());
    EXPECT_STREQ(adc.LastSettingFault(), "S5 answered \"NG\\r\"");
    EXPECT_EQ(fake.Written(), "S3\rS5\r");
    EXPECT_FALSE(adc.SetDataRate(1));
    EXPECT_STREQ(adc.LastSettingFault(), "F1 answered \"\\xCF\\xCB\\r\"");
    EXPECT_FALSE(adc.SetDataRate(2));
    EXPECT_STREQ(adc.LastSettingFault(), "no reply to F2 within 100 ms");
}

TEST_F(BoardTest, SetDataRateSendsTheRateDigitWithoutPurging)
{
    fake.Answer("FG\r", {"OK\r"});
    const int purges = fake.Calls(FakeD2xx::Purge);
    EXPECT_TRUE(adc.SetDataRate(16));
    EXPECT_EQ(fake.Calls(FakeD2xx::Purge), purges);
    EXPECT_EQ(fake.Written(), "FG\r");

    std::string expected;
    for (const char digit : std::string("0123456789ABCDEFG")) {
        const std::string command = std::string("F") + digit + "\r";
        fake.Answer(command, {"OK\r"});
        expected += command;
    }
    for (int index = 0; index <= 16; ++index) {
        EXPECT_TRUE(adc.SetDataRate(index));
    }
    EXPECT_EQ(fake.Written(), "FG\r" + expected);
}

TEST_F(BoardTest, AnUnknownRateIndexIsRefusedAndNothingSent)
{
    EXPECT_FALSE(adc.SetDataRate(17));
    EXPECT_FALSE(adc.SetDataRate(-1));
    EXPECT_EQ(fake.Calls(FakeD2xx::Write), 0);
}

TEST_F(BoardTest, StartMeasureSendsModeAndCountAsFiveHexDigits)
{
    EXPECT_TRUE(adc.StartMeasure(0, 1000));
    EXPECT_TRUE(adc.StartMeasure(2, 100000));
    EXPECT_TRUE(adc.StartMeasure(1, 1048576));
    EXPECT_EQ(fake.Writes(), (std::vector<std::string>{"A0003E8\r", "A2186A0\r", "A100000\r"}));
}

TEST_F(BoardTest, StartMeasurePurgesButAnUnknownModeSendsNothing)
{
    const int purges = fake.Calls(FakeD2xx::Purge);
    EXPECT_FALSE(adc.StartMeasure(3, 1000));
    EXPECT_FALSE(adc.StartMeasure(-1, 1000));
    EXPECT_EQ(fake.Calls(FakeD2xx::Write), 0);
    EXPECT_EQ(fake.Calls(FakeD2xx::Purge), purges);
    fake.Arrive("left over");
    EXPECT_TRUE(adc.StartMeasure(0, 100));
    EXPECT_EQ(fake.Queued(), 0u);
}

TEST_F(BoardTest, StopMeasureSendsAxAndKeepsWhatIsQueued)
{
    fake.Arrive("abc");
    EXPECT_TRUE(adc.StopMeasure());
    EXPECT_EQ(fake.Written(), "AX\r");
    EXPECT_EQ(fake.Queued(), 3u);
}

TEST_F(BoardTest, CloseBoardClosesTheLinkAndEveryCommandThenFails)
{
    adc.CloseBoard();
    EXPECT_FALSE(fake.IsOpen());
    const int before = fake.TotalCalls();
    std::int32_t codes[4];
    std::int32_t got = 77;
    char name[TADC::NameLength + 1];
    EXPECT_FALSE(adc.CheckBoard());
    EXPECT_FALSE(adc.GetBoardName(name));
    EXPECT_FALSE(adc.SetDataRate(3));
    EXPECT_FALSE(adc.StartMeasure(0, 100));
    EXPECT_FALSE(adc.StopMeasure());
    EXPECT_FALSE(adc.ReadData1(codes, got, 1));
    EXPECT_FALSE(adc.ReadData2(codes, codes + 2, 1, got));
    EXPECT_EQ(got, 77) << "a closed link leaves the count alone";
    adc.CloseBoard();
    EXPECT_EQ(fake.TotalCalls(), before);
}

TEST(FormatHex5, WritesFiveUpperCaseDigitsAndNothingMore)
{
    char text[7] = "######";
    TADC::FormatHex5(0x3E8, text);
    EXPECT_STREQ(text, "003E8#");
    TADC::FormatHex5(0xFFFFF, text);
    EXPECT_STREQ(text, "FFFFF#");
    TADC::FormatHex5(0x100000, text);
    EXPECT_STREQ(text, "00000#");
    TADC::FormatHex5(-1, text);
    EXPECT_STREQ(text, "00000#");
}

// --- the sample stream ----------------------------------------------------------------

TEST(Decode24, ReadsAnUnsignedBigEndianCode)
{
    const std::uint8_t midScale[] = {0x80, 0x00, 0x00};
    const std::uint8_t fullScale[] = {0xFF, 0xFF, 0xFF};
    const std::uint8_t one[] = {0x00, 0x00, 0x01};
    const std::uint8_t mixed[] = {0x12, 0x34, 0x56};
    EXPECT_EQ(TADC::Decode24(midScale), 8388608);
    EXPECT_EQ(TADC::Decode24(fullScale), 16777215);
    EXPECT_EQ(TADC::Decode24(one), 1);
    EXPECT_EQ(TADC::Decode24(mixed), 0x123456);
}

TEST_F(BoardTest, ReadData1DeliversNothingUntilTheWholeChunkIsQueued)
{
    std::vector<std::int32_t> codes(100, -1);
    std::int32_t got = -1;
    fake.Arrive(std::string(299, '\x01'));
    EXPECT_TRUE(adc.ReadData1(codes.data(), got, 100));
    EXPECT_EQ(got, 0);
    EXPECT_EQ(codes[0], -1);

    fake.Arrive(std::string(1, '\x01') + Bytes({0x80, 0x00, 0x00}));
    EXPECT_TRUE(adc.ReadData1(codes.data(), got, 100));
    EXPECT_EQ(got, 100);
    EXPECT_EQ(codes[0], 0x010101);
    EXPECT_EQ(codes[99], 0x010101);
    EXPECT_EQ(fake.Queued(), 3u) << "the next sample waits for the next call";
    EXPECT_TRUE(adc.ReadData1(codes.data(), got, 1));
    EXPECT_EQ(codes[0], 8388608);
}

TEST_F(BoardTest, ReadData2SplitsEachFrameIntoCh0ThenCh1)
{
    std::int32_t ch0[2] = {};
    std::int32_t ch1[2] = {};
    std::int32_t got = 0;
    fake.Arrive(Bytes({0x00, 0x00, 0x01, 0xFF, 0xFF, 0xFF}) + Frame(8388608, 0x123456));
    EXPECT_TRUE(adc.ReadData2(ch0, ch1, 2, got));
    EXPECT_EQ(got, 2);
    EXPECT_EQ(ch0[0], 1);
    EXPECT_EQ(ch1[0], 16777215);
    EXPECT_EQ(ch0[1], 8388608);
    EXPECT_EQ(ch1[1], 0x123456);
}

TEST_F(BoardTest, AChunkThatWouldOverflowTheDataBufferIsRefused)
{
    fake.Arrive(std::string(7002, '\0'));
    std::vector<std::int32_t> ch0(2334);
    std::vector<std::int32_t> ch1(2334);
    std::int32_t got = -1;
    EXPECT_FALSE(adc.ReadData1(ch0.data(), got, 2334));
    EXPECT_FALSE(adc.ReadData2(ch0.data(), ch1.data(), 1167, got));
    EXPECT_FALSE(adc.ReadData1(ch0.data(), got, 0));
    EXPECT_EQ(got, 0);
    EXPECT_EQ(fake.Calls(FakeD2xx::Read), 0);

    EXPECT_TRUE(adc.ReadData1(ch0.data(), got, 2333));
    EXPECT_EQ(got, 2333);
    fake.Arrive(std::string(7002, '\0'));
    EXPECT_TRUE(adc.ReadData2(ch0.data(), ch1.data(), 1166, got));
    EXPECT_EQ(got, 1166);
}

TEST_F(BoardTest, ADriverFailureWhileStreamingIsReported)
{
    fake.Arrive(std::string(30, '\0'));
    fake.FailCall(FakeD2xx::Read, 1);
    std::int32_t codes[10];
    std::int32_t got = -1;
    EXPECT_FALSE(adc.ReadData1(codes, got, 10));
    EXPECT_EQ(got, 0);
}

// A whole two-channel run as the window drives it: configure, start, then
// poll chunk after chunk while the board streams in USB-sized packets.
TEST_F(BoardTest, ATwoChannelRunArrivesCompleteAndInOrder)
{
    fake.Answer("S5\r", {"OK\r"});
    fake.Answer("FG\r", {"OK\r"});
    ASSERT_TRUE(adc.SetSinc5());
    ASSERT_TRUE(adc.SetDataRate(16));
    ASSERT_TRUE(adc.StartMeasure(2, 3000));

    std::string stream;
    for (std::int32_t i = 0; i < 3000; ++i) {
        stream += Frame(i, 16777215 - i);
    }
    for (std::size_t at = 0, poll = 0; at < stream.size(); at += 4096, ++poll) {
        fake.Arrive(stream.substr(at, 4096), static_cast<int>(poll));
    }

    std::vector<std::int32_t> ch0(3000, -1);
    std::vector<std::int32_t> ch1(3000, -1);
    std::int32_t taken = 0;
    for (int polls = 0; taken < 3000 && polls < 100; ++polls) {
        std::int32_t got = 0;
        ASSERT_TRUE(adc.ReadData2(ch0.data() + taken, ch1.data() + taken, 1000, got));
        taken += got;
    }
    ASSERT_EQ(taken, 3000);
    for (std::int32_t i = 0; i < 3000; ++i) {
        ASSERT_EQ(ch0[i], i);
        ASSERT_EQ(ch1[i], 16777215 - i);
    }
}

} // namespace
