// The export table and the long-term log's rows and file, on runs of known
// content.

#include "CodeScale.h"
#include "LogFile.h"
#include "LogTable.h"
#include "PlainNumber.h"
#include "RunData.h"
#include "SampleTable.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace {

class RunTableTest : public ::testing::Test {
protected:
    void Hold(int chSel, int spsSel, std::initializer_list<std::pair<std::int32_t, std::int32_t>> pairs)
    {
        run->Settings.CHSel = chSel;
        run->Settings.spsSel = spsSel;
        std::int32_t i = 0;
        for (const auto& [ch0, ch1] : pairs) {
            run->Ch0Codes[i] = ch0;
            run->Ch1Codes[i] = ch1;
            ++i;
        }
        run->HoldSamples(i);
        run->ConvertAll();
    }

    std::unique_ptr<RunData> run = std::make_unique<RunData>();
};

// A new run holds zeros at both ends of every array, though nothing wrote
// them (the sanitizers' allocator fills fresh memory otherwise).
TEST_F(RunTableTest, ANewRunIsZeroThroughout)
{
    for (const std::size_t i : {std::size_t{0}, std::size_t{SampleCapacity - 1}}) {
        EXPECT_EQ(run->Ch0Codes[i], 0);
        EXPECT_EQ(run->Ch1Codes[i], 0);
        EXPECT_EQ(run->Ch0Microvolts[i], 0.0f);
        EXPECT_EQ(run->Ch1Microvolts[i], 0.0f);
    }
}

// Codes that share their low bits, repeated, the extremes and a gain: each
// becomes what CodeScale gives it.
TEST_F(RunTableTest, EveryCodeConvertsToItsOwnMicrovolts)
{
    const std::int32_t codes[] = {8388608, 8388608 + 1024, 1, 8388608, 1025, 0, 16777215, -2147483647 - 1, 1, 8389632};
    for (const std::int32_t gain : {1, 128}) {
        run->Settings.CHSel = 0;
        run->Settings.GainDivisor = gain;
        std::copy(std::begin(codes), std::end(codes), run->Ch0Codes);
        run->HoldSamples(static_cast<std::int32_t>(std::size(codes)));
        run->ConvertAll();
        for (std::size_t i = 0; i < std::size(codes); ++i)
            EXPECT_EQ(run->Ch0Microvolts[i], static_cast<float>(CodeScale::CodeToMicrovolts(codes[i], gain))) << i;
    }
}

TEST_F(RunTableTest, ExportRowsCarryIndexNominalTimeCodesAndMicrovolts)
{
    Hold(2, 8, {{8388608, 16777215}, {8388609, 0}});  // 1 ksps, pairs at 500 a second
    EXPECT_EQ(SampleTable(',').Text(run->Settings, run->Ch0Data, run->Ch1Data), "index,time_s,ch0_code,ch0_uV,ch1_code,ch1_uV\n"
                                           "0,0.000000,8388608,0,16777215,2500000\n"
                                           "1,0.002000,8388609,0.29802325,0,-2500000.2\n");
    Hold(1, 16, {{0, 8388610}});
    EXPECT_EQ(SampleTable('\t').Text(run->Settings, run->Ch0Data, run->Ch1Data), "index\ttime_s\tch1_code\tch1_uV\n0\t0.000000\t8388610\t0.5960465\n");
}

TEST_F(RunTableTest, LogRowsCarryWallClockRunAndSample)
{
    Hold(0, 5, {{8388608, 0}, {8388609, 0}, {8388610, 0}});
    const LogTable table(run->Settings);
    EXPECT_EQ(table.Header(), "time,run,sample,ch0_code,ch0_uV\n");
    std::string text;
    const auto when = std::chrono::system_clock::time_point(std::chrono::milliseconds(1765230012345));
    table.AppendRows(text, *run, 3, 1, 3, when);
    EXPECT_EQ(text, "2025-12-08T21:40:12.345Z,3,1,8388609,0.29802325\n"
                    "2025-12-08T21:40:12.345Z,3,2,8388610,0.5960465\n");
    run->Settings.CHSel = 2;
    EXPECT_EQ(LogTable(run->Settings).Header(), "time,run,sample,ch0_code,ch0_uV,ch1_code,ch1_uV\n");
}

// Sample numbers counted past 9, 99 and 999, and far more rows than the
// writer gathers at once: every row is the one written field by field.
TEST_F(RunTableTest, LogRowsCountSamplesOnAcrossDigitsAndBuffers)
{
    run->Settings.CHSel = 2;
    const std::int32_t count = 3000;
    for (std::int32_t i = 0; i < count; ++i) {
        run->Ch0Codes[i] = 8388608 + i * 7 % 2999;
        run->Ch1Codes[i] = i * 5171;
    }
    run->HoldSamples(count);
    std::string rows;
    LogTable(run->Settings).AppendRows(rows, *run, 12, 8, count, std::chrono::system_clock::time_point());
    std::string expected;
    for (std::int32_t i = 8; i < count; ++i) {
        expected += "1970-01-01T00:00:00.000Z,12," + std::to_string(i);
        for (const std::int32_t code : {run->Ch0Codes[i], run->Ch1Codes[i]}) {
            expected += ',' + std::to_string(code) + ',';
            PlainNumber::AppendFloat(expected, static_cast<float>(CodeScale::CodeToMicrovolts(code, 1)));
        }
        expected += '\n';
    }
    EXPECT_EQ(rows, expected);
}

// The log's times are Qt's ISO 8601 texts: around 1970, on 2000-02-29, at
// the end of 2100-02-28 (no leap day), in 1700, and spread over 1900-2100.
TEST(LogTableTest, WallClockIsQtsIsoTextWithMilliseconds)
{
    std::vector<qint64> times = {0, -1, 1, 951782400000, 951868799999, 4107542399999, 4107542400000, -8512502400001};
    for (qint64 step = 0; step < 2000; ++step)
        times.push_back(-2208988800000 + step * 3155695200 + step % 1000);
    for (const qint64 ms : times) {
        const auto time = std::chrono::system_clock::time_point(std::chrono::milliseconds(ms));
        EXPECT_EQ(LogTable::WallClock(time),
                  QDateTime::fromMSecsSinceEpoch(ms, Qt::UTC).toString(Qt::ISODateWithMs).toStdString())
            << ms;
    }
}

// Codes 1024 apart, in turn: the log's microvolts are the export's, code
// for code, whatever the log keeps of the codes it wrote before.
TEST_F(RunTableTest, LogMicrovoltsAreTheExportsForEveryCode)
{
    Hold(0, 16, {{8388609, 0}, {8389633, 0}, {8388609, 0}, {8390657, 0}, {1024, 0}, {0, 0}, {1024, 0}, {16777215, 0}, {-1, 0}, {0, 0}});
    std::string rows;
    LogTable(run->Settings).AppendRows(rows, *run, 1, 0, run->Ch0Data.Count, std::chrono::system_clock::time_point());
    const std::string exported = SampleTable(',').Text(run->Settings, run->Ch0Data, run->Ch1Data);
    const auto lastColumn = [](const std::string& table, bool skipHeader) {
        std::vector<std::string> values;
        std::size_t at = skipHeader ? table.find('\n') + 1 : 0;
        while (at < table.size()) {
            const std::size_t end = table.find('\n', at);
            const std::string line = table.substr(at, end - at);
            values.push_back(line.substr(line.rfind(',') + 1));
            at = end + 1;
        }
        return values;
    };
    EXPECT_EQ(lastColumn(rows, false), lastColumn(exported, true));
    EXPECT_EQ(lastColumn(rows, false).size(), 10u);
}

TEST(LogFileTest, NoLineCrossesABlockAndNothingElseIsAdded)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("log.csv"));
    LogFile log;
    ASSERT_TRUE(log.Open(path));
    std::string lines;
    // Lengths 1 to 97 bring every remainder of a block, the single byte too.
    for (int i = 0; i < 12000; ++i)
        lines += std::string(static_cast<std::size_t>(i % 97), 'x') + '\n';
    log.Comment("start");
    log.Add(lines.substr(0, lines.size() / 2));
    // Before its second is up, the log writes what fills whole blocks.
    ASSERT_TRUE(log.FlushIfDue());
    const qint64 early = QFileInfo(path).size();
    EXPECT_GT(early, static_cast<qint64>(LogFile::WriteAhead));
    EXPECT_EQ(early % 4096, 0);
    ASSERT_TRUE(log.Flush());
    log.Add(lines.substr(lines.size() / 2));
    ASSERT_TRUE(log.Flush());

    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    for (qsizetype block = 4096; block <= text.size(); block += 4096)
        EXPECT_EQ(text[block - 1], '\n') << "block ending at " << block;
    std::string kept;
    for (const QByteArray& line : text.split('\n')) {
        if (!line.startsWith('#') && !line.isEmpty())
            kept += line.toStdString() + '\n';
        EXPECT_TRUE(!line.startsWith('#') || line == "# start" || line.mid(1).trimmed().isEmpty());
    }
    std::string expected;
    for (int i = 0; i < 12000; ++i) {
        if (i % 97 != 0)
            expected += std::string(static_cast<std::size_t>(i % 97), 'x') + '\n';
    }
    EXPECT_EQ(kept, expected);
    EXPECT_TRUE(text.startsWith("# start\n"));
}

} // namespace
