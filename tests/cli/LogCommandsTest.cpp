// info, report and export on long-term logs, text and HDF5, run as a
// process: the figures of a run the window could hold as its data file
// gives them, parts picked by run and by time, and bad logs refused.

#include "CliProcess.h"
#include "Hdf5LogRows.h"
#include "LogFiles.h"
#include "LogLayout.h"
#include "MeasureItems.h"

#include <hdf5.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "QtPrinting.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr std::int32_t Zero = 8388608;

// Deterministic noise of a few codes on a slow swing, no two runs alike.
std::vector<std::int32_t> NoisyCodes(std::size_t values, std::int32_t centre, std::uint32_t seed)
{
    std::vector<std::int32_t> codes(values);
    std::uint32_t state = seed;
    for (std::size_t i = 0; i < values; ++i) {
        state = state * 1664525u + 1013904223u;
        codes[i] = centre + static_cast<std::int32_t>(state >> 28) - 8
                   + static_cast<std::int32_t>(std::lround(30.0 * std::sin(0.002 * static_cast<double>(i))));
    }
    return codes;
}

MeasureSettings Settings(int spsSel, int countSel, int chSel)
{
    MeasureSettings s;
    s.spsSel = spsSel;
    s.DataCountSel = countSel;
    s.CHSel = chSel;
    s.fSinc5 = 1;
    return s;
}

QJsonObject JsonLine(const CliResult& result)
{
    return QJsonDocument::fromJson(result.Out.section(QLatin1Char('\n'), 0, 0).toUtf8()).object();
}

// Numbers to rounding (relative 1e-9), everything else exactly.
void ExpectSame(const QJsonValue& actual, const QJsonValue& expected, const QString& where)
{
    SCOPED_TRACE(where.toStdString());
    ASSERT_EQ(actual.type(), expected.type());
    if (expected.isDouble()) {
        EXPECT_NEAR(actual.toDouble(), expected.toDouble(), 1e-9 * std::abs(expected.toDouble()) + 1e-12);
    } else if (expected.isArray()) {
        const QJsonArray a = actual.toArray();
        const QJsonArray e = expected.toArray();
        ASSERT_EQ(a.size(), e.size());
        for (qsizetype i = 0; i < e.size(); ++i)
            ExpectSame(a[i], e[i], where + QStringLiteral("[%1]").arg(i));
    } else if (expected.isObject()) {
        const QJsonObject a = actual.toObject();
        const QJsonObject e = expected.toObject();
        EXPECT_EQ(a.keys(), e.keys());
        for (const QString& key : e.keys())
            ExpectSame(a.value(key), e.value(key), where + QLatin1Char('.') + key);
    } else {
        EXPECT_EQ(actual, expected);
    }
}

QByteArray Contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

struct FormCase {
    int Rate;
    int CountSel;
    int Channel;
};

// A run of a data file's size as a data file, a text log and an HDF5 log:
// the same figures to the printed digits, the same histogram and spectrum,
// the same exported table.
TEST(LogCommands, ALogOfOneRunReportsAsItsDataFile)
{
    for (const FormCase& c : {FormCase{16, 9, ModeCh0}, FormCase{8, 6, ModeCh1}, FormCase{12, 3, ModeDual}}) {
        SCOPED_TRACE(c.Rate);
        const MeasureSettings dtaSettings = Settings(c.Rate, c.CountSel, c.Channel);
        const MeasureSettings logSettings = Settings(c.Rate, 9, c.Channel);
        const int columns = c.Channel == ModeDual ? 2 : 1;
        const std::vector<std::int32_t> codes = NoisyCodes(
            static_cast<std::size_t>(MeasureItems::CountValue(c.CountSel) * columns), Zero + 2000, 7u + c.Rate);
        LogFiles files;
        const QString dta = files.Folder().Write(QStringLiteral("run.DTA"), dtaSettings, LogFiles::DataLines(dtaSettings, codes));
        const std::vector<TestRun> runs = {{"2026-12-08T10:00:00.000Z", codes}};
        const QStringList logs = {files.Text(QStringLiteral("run.csv"), logSettings, runs),
                                  files.Hdf5(QStringLiteral("run.h5"), logSettings, runs)};

        const CliResult dtaReport = CliProcess::Run({QStringLiteral("report"), QStringLiteral("--json"), dta});
        const CliResult dtaInfo = CliProcess::Run({QStringLiteral("info"), dta});
        const QString dtaTable = files.Folder().Path(QStringLiteral("run-dta.csv"));
        ASSERT_EQ(CliProcess::Run({QStringLiteral("export"), dta, QStringLiteral("-o"), dtaTable}).ExitCode, 0);
        ASSERT_EQ(dtaReport.ExitCode, 0) << dtaReport.Err.toStdString();
        for (const QString& log : logs) {
            SCOPED_TRACE(log.toStdString());
            ASSERT_FALSE(log.isEmpty());
            const CliResult report = CliProcess::Run({QStringLiteral("report"), QStringLiteral("--json"), log});
            ASSERT_EQ(report.ExitCode, 0) << report.Err.toStdString();
            ExpectSame(JsonLine(report).value(QStringLiteral("channels")),
                       JsonLine(dtaReport).value(QStringLiteral("channels")), QStringLiteral("channels"));

            // The window's statistics texts, digit for digit.
            const CliResult info = CliProcess::Run({QStringLiteral("info"), log});
            ASSERT_EQ(info.ExitCode, 0) << info.Err.toStdString();
            const QStringList lines = info.OutLines();
            const QStringList dtaLines = dtaInfo.OutLines();
            EXPECT_EQ(lines.mid(lines.size() - 2 * columns), dtaLines.mid(dtaLines.size() - 2 * columns));

            const QString table = files.Folder().Path(QStringLiteral("run-log.csv"));
            ASSERT_EQ(CliProcess::Run({QStringLiteral("export"), log, QStringLiteral("-o"), table}).ExitCode, 0);
            EXPECT_EQ(Contents(table), Contents(dtaTable));
        }
    }
}

struct PickCase {
    QStringList Options;
    std::int64_t FirstOfRun[3];  // samples picked from each run: [from, to)
    std::int64_t EndOfRun[3];
};

// Three runs of 1000 samples at 1 ksps, 1.1 s apart, each near its own code.
TEST(LogCommands, RunsAndTimesPickTheSamplesTheyName)
{
    const MeasureSettings settings = Settings(8, 9, ModeCh0);
    std::vector<TestRun> runs;
    for (const char* start : {"2026-12-08T10:00:00.000Z", "2026-12-08T10:00:01.100Z", "2026-12-08T10:00:02.200Z"})
        runs.push_back({start, NoisyCodes(1000, Zero + 1000 * static_cast<std::int32_t>(runs.size() + 1),
                                          3u + static_cast<std::uint32_t>(runs.size()))});
    LogFiles files;
    const QStringList logs = {files.Text(QStringLiteral("three.csv"), settings, runs),
                              files.Hdf5(QStringLiteral("three.h5"), settings, runs)};
    const QString from = QStringLiteral("--from");
    const QString to = QStringLiteral("--to");
    const PickCase cases[] = {
        {{QStringLiteral("--runs"), QStringLiteral("2")}, {0, 0, 0}, {0, 1000, 0}},
        {{QStringLiteral("--runs"), QStringLiteral("2-3")}, {0, 0, 0}, {0, 1000, 1000}},
        {{from, QStringLiteral("2026-12-08T10:00:01.600Z")}, {0, 500, 0}, {0, 1000, 1000}},
        {{from, QStringLiteral("2026-12-08T10:00:00.250Z"), to, QStringLiteral("2026-12-08T10:00:01.350Z")},
         {250, 0, 0},
         {1000, 250, 0}},
        {{QStringLiteral("--runs=1"), to, QStringLiteral("2026-12-08T10:00:00.500Z")}, {0, 0, 0}, {500, 0, 0}},
    };
    for (const PickCase& c : cases) {
        SCOPED_TRACE(c.Options.join(QLatin1Char(' ')).toStdString());
        std::vector<std::int32_t> picked;
        for (int r = 0; r < 3; ++r)
            for (std::int64_t i = c.FirstOfRun[r]; i < c.EndOfRun[r]; ++i)
                picked.push_back(runs[static_cast<std::size_t>(r)].Codes[static_cast<std::size_t>(i)]);
        const auto count = static_cast<qint64>(picked.size());
        for (const QString& log : logs) {
            SCOPED_TRACE(log.toStdString());
            const CliResult info = CliProcess::Run(QStringList{QStringLiteral("info"), QStringLiteral("--json"), log} + c.Options);
            ASSERT_EQ(info.ExitCode, 0) << info.Err.toStdString();
            const QJsonObject channel = JsonLine(info).value(QStringLiteral("channels")).toArray().at(0).toObject();
            EXPECT_EQ(channel.value(QStringLiteral("count")).toInteger(), count);
            EXPECT_EQ(channel.value(QStringLiteral("codes")).toObject().value(QStringLiteral("max")).toInt(),
                      *std::max_element(picked.begin(), picked.end()));

            const QString table = files.Folder().Path(QStringLiteral("picked.csv"));
            ASSERT_EQ(CliProcess::Run(QStringList{QStringLiteral("export"), log, QStringLiteral("-o"), table} + c.Options).ExitCode, 0);
            const QList<QByteArray> rows = Contents(table).trimmed().split('\n');
            ASSERT_EQ(rows.size(), count + 1);
            EXPECT_EQ(rows[1].split(',')[2].toInt(), picked.front());
            EXPECT_EQ(rows.back().split(',')[2].toInt(), picked.back());
        }
    }

    const CliResult none = CliProcess::Run({QStringLiteral("info"), logs[0], QStringLiteral("--runs"), QStringLiteral("4-5")});
    EXPECT_EQ(none.ExitCode, 2);
    EXPECT_TRUE(none.Err.contains(QStringLiteral("no samples in runs 4-5"))) << none.Err.toStdString();
    const CliResult badTime = CliProcess::Run({QStringLiteral("report"), QStringLiteral("--json"), logs[1], from, QStringLiteral("yesterday")});
    EXPECT_EQ(badTime.ExitCode, 2);
    EXPECT_TRUE(badTime.Err.contains(QStringLiteral("--from takes a UTC time"))) << badTime.Err.toStdString();
}

// A valid log whose /codes is replaced by one of floats.
void MakeCodesFloat(const QString& path)
{
    const hid_t file = H5Fopen(QFile::encodeName(path).constData(), H5F_ACC_RDWR, H5P_DEFAULT);
    H5Ldelete(file, LogLayout::Codes, H5P_DEFAULT);
    const hsize_t dims[1] = {100};
    const hid_t space = H5Screate_simple(1, dims, nullptr);
    H5Dclose(H5Dcreate2(file, LogLayout::Codes, H5T_IEEE_F32LE, space, H5P_DEFAULT, H5P_DEFAULT, H5P_DEFAULT));
    H5Sclose(space);
    H5Fclose(file);
}

// A valid log with codes no converter gives written over two of its own.
void PutForeignCodes(const QString& path)
{
    const hid_t file = H5Fopen(QFile::encodeName(path).constData(), H5F_ACC_RDWR, H5P_DEFAULT);
    const hid_t codes = H5Dopen2(file, LogLayout::Codes, H5P_DEFAULT);
    const hid_t space = H5Dget_space(codes);
    const hsize_t at[2] = {10, 20};
    const std::int32_t values[2] = {-1, 2147483647};
    H5Sselect_elements(space, H5S_SELECT_SET, 2, at);
    const hsize_t two = 2;
    const hid_t memory = H5Screate_simple(1, &two, nullptr);
    H5Dwrite(codes, H5T_NATIVE_INT32, memory, space, H5P_DEFAULT, values);
    H5Sclose(memory);
    H5Sclose(space);
    H5Dclose(codes);
    H5Fclose(file);
}

// A valid log whose run table holds run 2 before run 1.
void PutRunsOutOfOrder(const QString& path)
{
    const hid_t file = H5Fopen(QFile::encodeName(path).constData(), H5F_ACC_RDWR, H5P_DEFAULT);
    H5Ldelete(file, LogLayout::Runs, H5P_DEFAULT);
    const Hdf5LogRows::RunRow rows[2] = {Hdf5LogRows::ToRow(LogRun{2, "2026-12-08T10:00:00.000Z", 0, 10, "complete"}),
                                         Hdf5LogRows::ToRow(LogRun{1, "2026-12-08T10:00:01.000Z", 10, 10, "complete"})};
    const hsize_t count = 2;
    const hid_t space = H5Screate_simple(1, &count, nullptr);
    const Hdf5Handle packed = Hdf5LogRows::RunType(true);
    const Hdf5Handle memory = Hdf5LogRows::RunType(false);
    const hid_t table = H5Dcreate2(file, LogLayout::Runs, packed.Id(), space, H5P_DEFAULT, H5P_DEFAULT, H5P_DEFAULT);
    H5Dwrite(table, memory.Id(), H5S_ALL, H5S_ALL, H5P_DEFAULT, rows);
    H5Dclose(table);
    H5Sclose(space);
    H5Fclose(file);
}

struct BadLog {
    const char* Name;
    const char* Why;  // a part of the message
};

TEST(LogCommands, BadLogsAreRefusedWithTheirReason)
{
    const MeasureSettings settings = Settings(16, 9, ModeCh0);
    const std::vector<TestRun> runs = {{"2026-12-08T10:00:00.000Z", NoisyCodes(60000, Zero, 5u)}};
    LogFiles files;
    const DtaFiles& folder = files.Folder();
    H5Fclose(H5Fcreate(QFile::encodeName(folder.Path(QStringLiteral("plain.h5"))).constData(), H5F_ACC_TRUNC,
                       H5P_DEFAULT, H5P_DEFAULT));
    const QByteArray whole = Contents(files.Hdf5(QStringLiteral("whole.h5"), settings, runs));
    folder.WriteText(QStringLiteral("truncated.h5"), whole.left(whole.size() / 2));
    MakeCodesFloat(files.Hdf5(QStringLiteral("float.h5"), settings, runs));
    PutForeignCodes(files.Hdf5(QStringLiteral("foreign.h5"), settings, runs));
    PutRunsOutOfOrder(files.Hdf5(QStringLiteral("order.h5"), settings, runs));
    const QByteArray text = Contents(files.Text(QStringLiteral("whole.csv"), settings, runs));
    folder.WriteText(QStringLiteral("cut.csv"), text.left(text.size() - 7));
    QByteArray skipped = text;
    skipped.replace(",1,17,", ",1,18,");
    folder.WriteText(QStringLiteral("skipped.csv"), skipped);
    QByteArray settingsWord = text;
    settingsWord.replace("125ksps, 100000", "125ksps, 100001");
    folder.WriteText(QStringLiteral("settings.csv"), settingsWord);
    QByteArray header = text;
    header.replace("ch0_code,ch0_uV", "ch1_code,ch1_uV");
    folder.WriteText(QStringLiteral("header.csv"), header);
    QByteArray back = text;
    back.replace("ch0_code,ch0_uV\n", "ch0_code,ch0_uV\n# board back at x\n");
    folder.WriteText(QStringLiteral("back.csv"), back);
    QByteArray start = text;
    start.replace("ch0_code,ch0_uV\n", "ch0_code,ch0_uV\n# run 1 started at 12:00\n");
    folder.WriteText(QStringLiteral("start.csv"), start);

    const BadLog cases[] = {
        {"plain.h5", "not a KORVADEX log"},
        {"truncated.h5", "cannot be read as HDF5"},
        {"float.h5", "not of 32-bit signed integers"},
        {"foreign.h5", "sample 10 of /codes: -1 is not a converter code (0 to 16777215)"},
        {"order.h5", "row 1 of /runs (run 1 from sample 10) does not follow the row before"},
        {"cut.csv", "cut short"},
        {"skipped.csv", "sample 18 of run 1 out of order"},
        {"settings.csv", "settings not understood"},
        {"header.csv", "the header should read time,run,sample,ch0_code,ch0_uV"},
        {"back.csv", "line 6: a board-back comment without its time and wait: board back at x"},
        {"start.csv", "line 6: a run-start comment without its run or time: run 1 started at 12:00"},
    };
    for (const BadLog& bad : cases) {
        const QString path = folder.Path(QString::fromUtf8(bad.Name));
        for (const QStringList& command : {QStringList{QStringLiteral("info"), path},
                                           QStringList{QStringLiteral("report"), QStringLiteral("--json"), path},
                                           QStringList{QStringLiteral("export"), path}}) {
            SCOPED_TRACE(command.join(QLatin1Char(' ')).toStdString());
            const CliResult result = CliProcess::Run(command);
            ASSERT_TRUE(result.Finished);
            EXPECT_EQ(result.ExitCode, 2);
            EXPECT_TRUE(result.Err.contains(path + QStringLiteral(": ")) && result.Err.contains(QString::fromUtf8(bad.Why)))
                << result.Err.toStdString();
            EXPECT_TRUE(result.Out.isEmpty()) << result.Out.toStdString();
        }
    }
}

} // namespace
