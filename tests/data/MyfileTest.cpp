#include "Myfile.h"

#include "DataFixtures.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const std::string Header = "AD7175_DataFile:\n";

// A settings block as the program writes it.
std::string Keys(int chSel)
{
    return "M:\nspsSel:5\nDataCountSel:0\nCHSel:" + std::to_string(chSel) + "\nGainSel:0\nfSinc5:0\nfBUF_ON:0\nMEND:\n";
}

const std::string Keys0 = Keys(0);
const std::string Keys2 = Keys(2);

std::string Repeat(const std::string& line, int times)
{
    std::string text;
    for (int i = 0; i < times; ++i)
        text += line;
    return text;
}

class MyfileLoad : public ::testing::Test {
protected:
    // Loads text (lines ended with "\n", turned into CR LF unless lfOnly).
    bool Load(const std::string& text, bool lfOnly = false)
    {
        folder.Write("in.DTA", lfOnly ? text : WithCrLf(text));
        return file.LoadFile(folder.Path("in.DTA"), &settings, &arrays.Ch0, &arrays.Ch1);
    }

    static std::vector<std::int32_t> Codes(const ChannelData& channel)
    {
        return std::vector<std::int32_t>(channel.Codes, channel.Codes + channel.Count);
    }

    TempFolder folder;
    SampleArrays arrays;
    ScriptedPrompt prompt;
    TmyFile file{prompt};
    MeasureSettings settings;
};

struct Malformed {
    const char* why;
    std::string text;
};

TEST_F(MyfileLoad, RefusesMalformedFilesAtTheirFirstFault)
{
    const std::string data1 = "D:\n1\n2\nDEND:\n";
    const std::string data2 = "D:\n1,2\nDEND:\n";
    const Malformed cases[] = {
        {"empty file", ""},
        {"header with text after it", "AD7175_DataFile: v2\n" + Keys0 + data1},
        {"header in other case", "ad7175_datafile:\n" + Keys0 + data1},
        {"blank first line", "\n" + Header + Keys0 + data1},
        {"no M: within ten lines", Header + Repeat("x\n", 10) + Keys0 + data1},
        {"line without colon in settings", Header + "M:\nspsSel:5\nspsSel 5\n" + Keys0.substr(3) + data1},
        {"blank line in settings", Header + "M:\nspsSel:5\n\n" + Keys0.substr(3) + data1},
        {"fSinc5 of 2", Header + "M:\nfSinc5:2\n" + Keys0.substr(3) + data1},
        {"empty fSinc5", Header + "M:\nfSinc5:\n" + Keys0.substr(3) + data1},
        {"fBUF_ON of 01", Header + "M:\nfBUF_ON:01\n" + Keys0.substr(3) + data1},
        {"spsSel that does not convert", Header + "M:\nspsSel:abc\n" + Keys0.substr(3) + data1},
        {"CHSel with a trailing blank", Header + "M:\nCHSel:0 \n" + Keys0.substr(3) + data1},
        {"empty GainSel", Header + "M:\nGainSel:\n" + Keys0.substr(3) + data1},
        {"no D: within ten lines", Header + Keys0 + Repeat("x\n", 10) + data1},
        {"non-integer data line", Header + Keys0 + "D:\n1\n2x\nDEND:\n"},
        {"blank data line", Header + Keys0 + "D:\n1\n\n2\nDEND:\n"},
        {"two columns for CHSel 0", Header + Keys0 + data2},
        {"one column for CHSel 2", Header + Keys2 + data1},
        {"three columns", Header + Keys2 + "D:\n1,2,3\nDEND:\n"},
        {"empty second column", Header + Keys2 + "D:\n1,\nDEND:\n"},
        {"empty first column", Header + Keys2 + "D:\n,2\nDEND:\n"},
        {"colon line other than DEND:", Header + Keys0 + "D:\n1\nMEND:\n2\nDEND:\n"},
        {"DEND: with text after it", Header + Keys0 + "D:\n1\nDEND:x\n"},
        {"missing DEND:", Header + Keys0 + "D:\n1\n2\n"},
        {"missing data block", Header + Keys0},
        {"five keys then MEND:", Header + "M:\nspsSel:5\nDataCountSel:0\nCHSel:0\nGainSel:0\nfSinc5:0\nMEND:\n" + data1},
        {"no MEND:", Header + "M:\nspsSel:5\nCHSel:0\n" + data1},
        {"long settings line cut into pieces", Header + "M:\nNote:" + std::string(300, 'a') + "\n" + Keys0.substr(3) + data1},
        {"long comment before the header", ";" + std::string(299, 'c') + "\n" + Header + Keys0 + data1},
    };
    for (const auto& c : cases)
        EXPECT_FALSE(Load(c.text)) << c.why;
}

TEST_F(MyfileLoad, ReadsKeysInAnyOrderWithoutRangeChecks)
{
    settings.GainDivisor = 7;
    ASSERT_TRUE(Load(Header + "M:\nfBUF_ON:1\nGainSel:$10\nCHSel:0\nspsSel:1\nspsSel:99\nDataCountSel: -3\n"
                              "fSinc5:1\nMEND:\nD:\nDEND:\n"));
    EXPECT_EQ(settings.spsSel, 99) << "a key that occurs twice takes its last value";
    EXPECT_EQ(settings.DataCountSel, -3);
    EXPECT_EQ(settings.GainSel, 16);
    EXPECT_EQ(settings.fSinc5, 1);
    EXPECT_EQ(settings.fBUF_ON, 1);
    EXPECT_EQ(settings.GainDivisor, 7);
}

TEST_F(MyfileLoad, EndsTheSettingsBlockAtMendWithTextOrAfterTwentyLines)
{
    EXPECT_TRUE(Load(Header + Keys0.substr(0, Keys0.size() - 6) + "MEND:anything\nD:\n1\nDEND:\n"));
    // Twenty lines end the block; "MEND:" is then the first of the ten lines
    // searched for "D:".
    EXPECT_TRUE(Load(Header + Keys0.substr(0, Keys0.size() - 6) + Repeat("Note:x\n", 14) + "MEND:\nD:\n1\nDEND:\n"));
    // With one line fewer, "D:" is read as the block's twentieth line and
    // the search for it finds only code lines.
    EXPECT_FALSE(Load(Header + "M:\nCHSel:0\n" + Repeat("Note:x\n", 18) + "D:\n1\nDEND:\n"));
    EXPECT_TRUE(Load(Header + "M:\nCHSel:0\n" + Repeat("Note:x\n", 19) + "D:\n1\nDEND:\n"));
}

TEST_F(MyfileLoad, SkipsCommentsAndNulLinesAnywhere)
{
    const std::string nul("\0junk\n", 6);
    ASSERT_TRUE(Load(Repeat(";note\n", 12) + Header + ";\n" + "M:\nCHSel:0\n;c\n" + nul + Keys0.substr(3)
                     + Repeat(";x\n", 11) + "D:\n1\n;between\n" + nul + "2\nDEND:\n"));
    EXPECT_EQ(Codes(arrays.Ch0), (std::vector<std::int32_t>{1, 2}));
}

TEST_F(MyfileLoad, CountsBlankLinesInTheSearches)
{
    EXPECT_TRUE(Load(Header + Repeat("\n", 9) + Keys0 + Repeat("\n", 9) + "D:\n5\nDEND:\n"));
    EXPECT_FALSE(Load(Header + Repeat("\n", 10) + Keys0 + "D:\n5\nDEND:\n"));
}

TEST_F(MyfileLoad, ReadsLfOnlyFilesLikeCrLfFiles)
{
    const std::string text = Header + Keys2 + "D:\n8388610,8388597\n-1,16777215\nDEND:\n";
    ASSERT_TRUE(Load(text, true));
    EXPECT_EQ(Codes(arrays.Ch0), (std::vector<std::int32_t>{8388610, -1}));
    EXPECT_EQ(Codes(arrays.Ch1), (std::vector<std::int32_t>{8388597, 16777215}));
}

// Numbers of every length among lines of every other form that still
// read, over several 64 KiB reads of the file: each reads as its own line
// would, wherever it stands.
TEST_F(MyfileLoad, ReadsEveryFormOfCodeLineTheSameAmongPlainOnes)
{
    struct Line {
        std::string text;
        std::int32_t ch0, ch1;
    };
    const std::vector<Line> odd = {
        {"00000000000000000123,9\n", 123, 9},  {" 7,\t8\n", 7, 8},     {"+5,-6\n", 5, -6},
        {"$1F,0x10\n", 31, 16},                {"12\r34,5\n", 1234, 5}, {"999999999,0\n", 999999999, 0},
        {"2147483647,12345678\n", 2147483647, 12345678}, {";note\n1,1\n", 1, 1},
    };
    std::string data;
    std::vector<std::int32_t> ch0;
    std::vector<std::int32_t> ch1;
    std::uint32_t value = 1;
    for (int i = 0; i < 30000; ++i) {
        // 1 to 9 digits, leading zeros now and then.
        value = value * 1664525u + 1013904223u;
        const std::int32_t a = static_cast<std::int32_t>(value % 1000000000u >> (value % 29));
        const std::int32_t b = static_cast<std::int32_t>(value % 10u);
        data += (i % 7 == 0 ? "00" : "") + std::to_string(a) + "," + std::to_string(b) + (i % 3 == 0 ? "\r\n" : "\n");
        ch0.push_back(a);
        ch1.push_back(b);
        if (i % 997 == 0) {
            const Line& line = odd[static_cast<std::size_t>(i / 997) % odd.size()];
            data += line.text;
            ch0.push_back(line.ch0);
            ch1.push_back(line.ch1);
        }
    }
    ASSERT_GT(data.size(), 3u * 65536u);
    ASSERT_TRUE(Load(Header + Keys2 + "D:\n" + data + "DEND:\n", true));
    EXPECT_EQ(Codes(arrays.Ch0), ch0);
    EXPECT_EQ(Codes(arrays.Ch1), ch1);
    // A fault among plain lines still ends the block there.
    EXPECT_FALSE(Load(Header + Keys0 + "D:\n1\n2\n12a4\n5\nDEND:\n", true));
    EXPECT_EQ(Codes(arrays.Ch0), (std::vector<std::int32_t>{1, 2}));
}

TEST_F(MyfileLoad, LoadsAnEmptyDataBlockAndIgnoresWhatFollowsDend)
{
    arrays.Ch1.Count = 5;
    ASSERT_TRUE(Load(Header + Keys0 + "D:\nDEND:\nnot:read\n" + std::string("\xff\0", 2)));
    EXPECT_EQ(arrays.Ch0.Count, 0);
    EXPECT_EQ(arrays.Ch1.Count, 0) << "a one-channel load empties the other channel";
}

TEST_F(MyfileLoad, LeavesChannelsAloneForAnUnknownChannelMode)
{
    arrays.Ch0.Count = 3;
    arrays.Ch1.Count = 4;
    arrays.Ch0.Codes[0] = 77;
    ASSERT_TRUE(Load(Header + Keys(3)));
    EXPECT_EQ(settings.CHSel, 3);
    EXPECT_EQ(arrays.Ch0.Count, 3);
    EXPECT_EQ(arrays.Ch1.Count, 4);
    EXPECT_EQ(arrays.Ch0.Codes[0], 77);
}

TEST_F(MyfileLoad, KeepsWhatWasReadBeforeAFault)
{
    EXPECT_FALSE(Load(Header + "M:\nspsSel:12\nfSinc5:1\nfBUF_ON:2\n" + Keys0.substr(3)));
    EXPECT_EQ(settings.spsSel, 12);
    EXPECT_EQ(settings.fSinc5, 1);

    arrays.Ch0.Count = 9;
    EXPECT_FALSE(Load(Header + Keys(1) + "D:\n10\n20\nbad\nDEND:\n"));
    EXPECT_EQ(Codes(arrays.Ch1), (std::vector<std::int32_t>{10, 20}));
    EXPECT_EQ(arrays.Ch0.Count, 9) << "a failed one-column read leaves the other channel";

    EXPECT_FALSE(Load(Header + Keys2 + "D:\n1,2\n3,x\nDEND:\n"));
    EXPECT_EQ(Codes(arrays.Ch0), std::vector<std::int32_t>{1}) << "a pair counts only when both parts convert";
    EXPECT_EQ(Codes(arrays.Ch1), std::vector<std::int32_t>{2});
}

TEST_F(MyfileLoad, RefusesMoreSamplesThanTheArraysHold)
{
    const std::string full = Repeat("8388608\n", SampleCapacity);
    EXPECT_TRUE(Load(Header + Keys0 + "D:\n" + full + "DEND:\n"));
    EXPECT_EQ(arrays.Ch0.Count, SampleCapacity);
    EXPECT_FALSE(Load(Header + Keys0 + "D:\n" + full + "1\nDEND:\n"));
    EXPECT_EQ(arrays.Ch0.Count, SampleCapacity);

    const std::string pairs = Repeat("1,2\n", SampleCapacity);
    EXPECT_TRUE(Load(Header + Keys2 + "D:\n" + pairs + "DEND:\n"));
    EXPECT_FALSE(Load(Header + Keys2 + "D:\n" + pairs + "3,4\nDEND:\n"));
    EXPECT_EQ(arrays.Ch1.Count, SampleCapacity);
}

TEST_F(MyfileLoad, RefusesMissingFilesAndArguments)
{
    folder.Write("ok.DTA", WithCrLf(Header + Keys0 + "D:\nDEND:\n"));
    const QString ok = folder.Path("ok.DTA");
    ChannelData noArray{};
    EXPECT_TRUE(file.LoadFile(ok, &settings, &arrays.Ch0, &arrays.Ch1));
    EXPECT_FALSE(file.LoadFile(QString(), &settings, &arrays.Ch0, &arrays.Ch1));
    EXPECT_FALSE(file.LoadFile(folder.Path("missing.DTA"), &settings, &arrays.Ch0, &arrays.Ch1));
    EXPECT_FALSE(file.LoadFile(folder.Path("."), &settings, &arrays.Ch0, &arrays.Ch1));
    EXPECT_FALSE(file.LoadFile(ok, nullptr, &arrays.Ch0, &arrays.Ch1));
    EXPECT_FALSE(file.LoadFile(ok, &settings, nullptr, &arrays.Ch1));
    EXPECT_FALSE(file.LoadFile(ok, &settings, &arrays.Ch0, &noArray));
}

} // namespace
