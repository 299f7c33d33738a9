// export, report and log run as a process, on generated files and on the
// virtual board.

#include "CliProcess.h"
#include "DtaFiles.h"
#include "LogChecks.h"
#include "CodeScale.h"
#include "RunData.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include "QtPrinting.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace {

const double Pi = std::acos(-1.0);

constexpr std::int32_t Zero = 8388608;
constexpr double CodeMicrovolts = 0.29802325940409413;

MeasureSettings Settings(int spsSel, int chSel)
{
    MeasureSettings s;
    s.spsSel = spsSel;
    s.DataCountSel = 9;
    s.CHSel = chSel;
    return s;
}

// 1 ksps: a sine of the given peak in µV at the given frequency, on a
// deterministic dither of a few codes.
QStringList SineCodes(int count, double hertz, double peakMicrovolts)
{
    QStringList lines;
    for (int i = 0; i < count; ++i) {
        const double dither = ((i * 7919) % 13) - 6;
        const double sine = peakMicrovolts / CodeMicrovolts * std::sin(2.0 * Pi * hertz * i / 1000.0);
        lines << QString::number(Zero + static_cast<std::int32_t>(std::lround(sine + dither)));
    }
    return lines;
}

QJsonObject FirstChannel(const QString& jsonLine)
{
    return QJsonDocument::fromJson(jsonLine.toUtf8()).object().value("channels").toArray().first().toObject();
}

class AnalysisCommandTest : public ::testing::Test {
protected:
    DtaFiles files;
};

TEST_F(AnalysisCommandTest, ExportGivesBackEveryCodeOfAHundredThousandPairs)
{
    QStringList pairs;
    for (int i = 0; i < 100000; ++i)
        pairs << QStringLiteral("%1,%2").arg(Zero + (i * 7919) % 20001 - 10000).arg((i * std::int64_t{104729}) % 16777216);
    const QString path = files.Write(QStringLiteral("pairs.DTA"), Settings(16, 2), pairs);
    const CliResult r = CliProcess::Run({QStringLiteral("export"), path});
    ASSERT_EQ(r.ExitCode, 0) << r.Err.toStdString();
    const QStringList rows = r.OutLines();
    ASSERT_EQ(rows.size(), 100001);
    EXPECT_EQ(rows.front(), QStringLiteral("index,time_s,ch0_code,ch0_uV,ch1_code,ch1_uV"));
    // 125 ksps in pairs: 62500 a second.
    EXPECT_TRUE(rows.back().startsWith(QStringLiteral("99999,1.599984,"))) << rows.back().toStdString();

    int wrong = 0;
    for (int i = 0; i < 100000; ++i) {
        const QStringList cells = rows[i + 1].split(QLatin1Char(','));
        const QStringList codes = pairs[i].split(QLatin1Char(','));
        const bool same = cells.size() == 6 && cells[0].toInt() == i && cells[2] == codes[0] && cells[4] == codes[1]
                          && cells[3].toFloat() == static_cast<float>(CodeScale::CodeToMicrovolts(codes[0].toInt(), 1))
                          && cells[5].toFloat() == static_cast<float>(CodeScale::CodeToMicrovolts(codes[1].toInt(), 1));
        wrong += same ? 0 : 1;
    }
    EXPECT_EQ(wrong, 0);
}

TEST_F(AnalysisCommandTest, ExportOfSeveralFilesFillsAFolderAndNamesTheRefusedOne)
{
    const QString a = files.Write(QStringLiteral("a.DTA"), Settings(5, 0), {QStringLiteral("8388608")});
    const QString bad = files.WriteText(QStringLiteral("bad.DTA"), "AD7175_DataFile:\r\nM:\r\n");
    const QString b = files.Write(QStringLiteral("b.dta"), Settings(5, 1), {QStringLiteral("8388609")});
    const QString folder = files.Path(QStringLiteral("tables"));
    const CliResult r = CliProcess::Run({QStringLiteral("export"), QStringLiteral("--tsv"), a, bad, b,
                                         QStringLiteral("-o"), folder});
    EXPECT_EQ(r.ExitCode, 2);
    EXPECT_TRUE(r.Err.contains(bad + QStringLiteral(": データファイルの内容が正しくありませんでした"))) << r.Err.toStdString();
    EXPECT_EQ(Contents(QDir(folder).filePath(QStringLiteral("a.tsv"))),
              QByteArray("index\ttime_s\tch0_code\tch0_uV\n0\t0.000000\t8388608\t0\n"));
    EXPECT_EQ(Contents(QDir(folder).filePath(QStringLiteral("b.tsv"))),
              QByteArray("index\ttime_s\tch1_code\tch1_uV\n0\t0.000000\t8388609\t0.29802325\n"));
    EXPECT_FALSE(QFileInfo::exists(QDir(folder).filePath(QStringLiteral("bad.tsv"))));
}

TEST_F(AnalysisCommandTest, ReportMarksMainsHumAndSaysWhyAShortFileHasNoSpectrum)
{
    const QString sine = files.Write(QStringLiteral("sine.DTA"), Settings(8, 0), SineCodes(10000, 50.0, 20.0));
    const QString shortRun = files.Write(QStringLiteral("short.DTA"), Settings(8, 1), SineCodes(100, 50.0, 20.0));
    const QString png = files.Path(QStringLiteral("page.png"));
    const CliResult r = CliProcess::Run({QStringLiteral("report"), sine, shortRun, QStringLiteral("-o"), png,
                                         QStringLiteral("--json")});
    ASSERT_EQ(r.ExitCode, 0) << r.Err.toStdString();
    ASSERT_EQ(r.OutLines().size(), 2);

    const QJsonObject full = FirstChannel(r.OutLines()[0]);
    const QJsonObject spur = full.value("spectrum").toObject().value("spurs").toArray().first().toObject();
    EXPECT_NEAR(spur.value("frequency_hz").toDouble(), 50.0, full.value("spectrum")["bin_hz"].toDouble());
    EXPECT_LT(std::abs(20.0 * std::log10(spur.value("amplitude_uV_peak").toDouble() / 20.0)), 1.0);
    EXPECT_EQ(spur.value("mains_hz").toInt(), 50);
    EXPECT_EQ(spur.value("harmonic").toInt(), 1);

    const QJsonObject little = FirstChannel(r.OutLines()[1]);
    EXPECT_TRUE(little.value("spectrum").isNull());
    EXPECT_EQ(little.value("no_spectrum").toString(), QStringLiteral("100 samples: a spectrum needs at least 256"));
    int counted = 0;
    for (const QJsonValue count : little.value("histogram")["counts"].toArray())
        counted += count.toInt();
    EXPECT_EQ(counted, 100);

    for (const char* page : {"page-1.png", "page-2.png"})
        EXPECT_EQ(QImage(files.Path(QString::fromLatin1(page))).size(), QSize(1190, 1684)) << page;

    const QString pdf = files.Path(QStringLiteral("both.pdf"));
    ASSERT_EQ(CliProcess::Run({QStringLiteral("report"), sine, shortRun, QStringLiteral("-o"), pdf}).ExitCode, 0);
    const QByteArray document = Contents(pdf);
    EXPECT_TRUE(document.startsWith("%PDF"));
    EXPECT_EQ(document.count("/Type /Page\n") + document.count("/Type /Page\r") + document.count("/Type /Page/"), 2);
}

struct BadInput {
    const char* Name;
    QStringList Words;
    const char* Message;
};

void PrintTo(const BadInput& input, std::ostream* out)
{
    *out << input.Name;
}

class BadInputTest : public ::testing::TestWithParam<BadInput> {};

TEST_P(BadInputTest, EndsWithExitTwoAndSaysWhy)
{
    DtaFiles files;
    const QString good = files.Write(QStringLiteral("good.DTA"), Settings(5, 0), {QStringLiteral("8388608")});
    QStringList words = GetParam().Words;
    words.replaceInStrings(QStringLiteral("GOOD"), good);
    words.replaceInStrings(QStringLiteral("OUT"), files.Path(QStringLiteral("out")));
    const CliResult r = CliProcess::Run(words, CountingBoard());
    ASSERT_TRUE(r.Finished);
    EXPECT_EQ(r.ExitCode, 2);
    EXPECT_TRUE(r.Err.contains(QString::fromUtf8(GetParam().Message))) << r.Err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(files.Path(QStringLiteral("out"))));
}

INSTANTIATE_TEST_SUITE_P(
    Commands, BadInputTest,
    ::testing::Values(
        BadInput{"ExportMissingFile", {"export", "nowhere.DTA"}, "nowhere.DTA: データファイルの内容が正しくありませんでした"},
        BadInput{"ExportBothSeparators", {"export", "--csv", "--tsv", "GOOD"}, "--csv or --tsv, not both"},
        BadInput{"ExportSeveralWithoutFolder", {"export", "GOOD", "GOOD"}, "needs -o FOLDER"},
        BadInput{"ReportNoOutput", {"report", "GOOD"}, "report needs -o OUT.pdf, -o OUT.png or --json"},
        BadInput{"ReportUnknownKind", {"report", "GOOD", "-o", "OUT"}, "written as .pdf or .png"},
        BadInput{"ReportNoFile", {"report", "--json"}, "report needs at least one file"},
        BadInput{"LogNoRate", {"log", "--channel", "0", "--filter", "sinc3", "-o", "OUT"}, "log needs --rate"},
        BadInput{"LogZeroRuns", {"log", "--rate", "1ksps", "--channel", "0", "--filter", "sinc3", "-o", "OUT", "--runs", "0"},
                 "--runs takes a number of runs from 1"},
        BadInput{"LogBothLimits", {"log", "--rate", "1ksps", "--channel", "0", "--filter", "sinc3", "-o", "OUT",
                                    "--runs", "1", "--duration", "5"}, "--duration or --runs, not both"},
        BadInput{"LogUnknownOption", {"log", "--rate", "1ksps", "--count", "100"}, "unknown option --count"}),
    [](const ::testing::TestParamInfo<BadInput>& info) { return std::string(info.param.Name); });

TEST_F(AnalysisCommandTest, EveryNewCommandHasItsHelp)
{
    for (const char* command : {"export", "report", "log", "index"}) {
        const CliResult r = CliProcess::Run({QString::fromLatin1(command), QStringLiteral("--help")});
        EXPECT_EQ(r.ExitCode, 0);
        EXPECT_TRUE(r.Out.startsWith(QStringLiteral("usage: korvadex-cli %1").arg(QLatin1String(command))));
    }
}

TEST_F(AnalysisCommandTest, LogTakesRunsBackToBackAndMeasuresTheGap)
{
    const QString path = files.Path(QStringLiteral("two.csv"));
    const CliResult r = CliProcess::Run(LogWords(path, QStringLiteral("10ksps"), {QStringLiteral("--runs"),
                                                                                   QStringLiteral("2")}),
                                        CountingBoard({{QStringLiteral("KORVADEX_SIM_SPEED"), QStringLiteral("4")}}));
    ASSERT_EQ(r.ExitCode, 0) << r.Err.toStdString();
    const ParsedLog log = ParseLog(Contents(path));
    EXPECT_TRUE(log.Whole);
    ASSERT_EQ(log.Runs.size(), 2u);
    for (const std::vector<std::int32_t>& run : log.Runs) {
        EXPECT_EQ(run.size(), 100000u);
        EXPECT_TRUE(CountsUpFromStart(run));
    }
    ASSERT_EQ(log.Comments.size(), 8);
    EXPECT_EQ(log.Comments[1], QStringLiteral("board: KORVADEX / V1.00"));
    EXPECT_EQ(log.Comments[2], QStringLiteral("settings: 10ksps, 100000, CH0 (Ain0-Ain1), Sinc5+Sinc1"));
    // The first run starts as the log does, or a moment after it.
    ASSERT_TRUE(log.Comments[4].startsWith(QStringLiteral("run 1 started at "))) << log.Comments[4].toStdString();
    const QDateTime logStart = QDateTime::fromString(log.Comments[3].mid(9), Qt::ISODateWithMs);
    const QDateTime runStart = QDateTime::fromString(log.Comments[4].mid(17), Qt::ISODateWithMs);
    ASSERT_TRUE(logStart.isValid() && runStart.isValid()) << log.Comments[3].toStdString();
    EXPECT_GE(logStart.msecsTo(runStart), 0);
    EXPECT_LT(logStart.msecsTo(runStart), 1000);
    EXPECT_TRUE(log.Comments[5].startsWith(QStringLiteral("run 2 started at "))) << log.Comments[5].toStdString();
    EXPECT_TRUE(log.Comments[6].contains(QStringLiteral("between the last sample of run 1 and the first of run 2")));
    EXPECT_TRUE(log.Comments[7].startsWith(QStringLiteral("ended after 2 runs, 200000 samples")));
}

TEST_F(AnalysisCommandTest, KilledLogLeavesWholeLines)
{
    const QString path = files.Path(QStringLiteral("killed.csv"));
    // Several flushes of a board sending 20000 samples a second.
    const CliResult r = CliProcess::RunSignalledWhen(LogWords(path, QStringLiteral("1ksps")), CountingBoard(),
                                                     [&path] { return QFileInfo(path).size() > 150000; }, Stop::Kill);
    ASSERT_TRUE(r.Finished);
    EXPECT_EQ(r.ExitCode, -1);  // killed
    const ParsedLog log = ParseLog(Contents(path));
    EXPECT_TRUE(log.Whole);
    ASSERT_EQ(log.Runs.size(), 1u);
    EXPECT_GT(log.Runs[0].size(), 2000u);
    EXPECT_TRUE(CountsUpFromStart(log.Runs[0]));
}

struct LogEnding {
    const char* Name;
    const char* Variable;
    const char* Value;
    bool CtrlC;
    int ExitCode;
    const char* LastComment;
    const char* Cause;  // on standard error and at the end of the last comment
};

void PrintTo(const LogEnding& ending, std::ostream* out)
{
    *out << ending.Name;
}

class LogEndingTest : public ::testing::TestWithParam<LogEnding> {
protected:
    DtaFiles files;
};

TEST_P(LogEndingTest, KeepsEverySampleTakenAndSaysHowItEnded)
{
    const LogEnding ending = GetParam();
    const QString path = files.Path(QStringLiteral("ending.csv"));
    const CliProcess::Environment board =
        CountingBoard({{QString::fromLatin1(ending.Variable), QString::fromLatin1(ending.Value)}});
    const QStringList words = LogWords(path, QStringLiteral("1ksps"));
    const CliResult r = !ending.CtrlC ? CliProcess::Run(words, board)
                                           : CliProcess::RunSignalledWhen(
                                                 words, board, [&path] { return QFileInfo(path).size() > 20000; },
                                                 Stop::CtrlC);
    ASSERT_TRUE(r.Finished);
    EXPECT_EQ(r.ExitCode, ending.ExitCode) << r.Err.toStdString();
    const ParsedLog log = ParseLog(Contents(path));
    EXPECT_TRUE(log.Whole);
    ASSERT_EQ(log.Runs.size(), 1u);
    EXPECT_GT(log.Runs[0].size(), 100u);
    EXPECT_TRUE(CountsUpFromStart(log.Runs[0]));
    ASSERT_FALSE(log.Comments.isEmpty());
    EXPECT_TRUE(log.Comments.back().startsWith(QString::fromLatin1(ending.LastComment))) << log.Comments.back().toStdString();
    EXPECT_TRUE(log.Comments.back().endsWith(QString::fromLatin1(ending.Cause))) << log.Comments.back().toStdString();
    EXPECT_EQ(r.Err.contains(QStringLiteral("the log ended: %1").arg(QString::fromLatin1(ending.Cause))), *ending.Cause != '\0')
        << r.Err.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Endings, LogEndingTest,
    ::testing::Values(
        // Unplugged after 9000 bytes: 3000 samples.
        LogEnding{"PulledCable", "KORVADEX_SIM_CABLE_PULL_AFTER", "9000", false, 6, "ended by a read error after 1 runs",
                  "cable pulled (the board has left the USB bus)"},
        LogEnding{"CtrlC", "KORVADEX_SIM_SEED", "1", true, 130, "stopped by Ctrl-C after 1 runs", ""}),
    [](const ::testing::TestParamInfo<LogEnding>& info) { return std::string(info.param.Name); });

} // namespace
