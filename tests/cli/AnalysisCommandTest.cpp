// export, report and log run as a process, on generated files and on the
// virtual board.

#include "CliProcess.h"
#include "DtaFiles.h"
#include "CodeScale.h"
#include "RunData.h"

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
constexpr std::int32_t CounterStart = 1000;
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

QByteArray Contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QJsonObject FirstChannel(const QString& jsonLine)
{
    return QJsonDocument::fromJson(jsonLine.toUtf8()).object().value("channels").toArray().first().toObject();
}

// Twenty times real time keeps the runs short. The board loses what its 64 KiB
// queue cannot hold, so a case that needs every sample of long runs, read by
// a companion slowed by the sanitizers on a busy machine, asks for less.
CliProcess::Environment CountingBoard(CliProcess::Environment more = {})
{
    if (!more.contains(QStringLiteral("KORVADEX_SIM_SPEED")))
        more.insert(QStringLiteral("KORVADEX_SIM_SPEED"), QStringLiteral("20"));
    more.insert(QStringLiteral("KORVADEX_SIM_COUNTER"), QStringLiteral("1"));
    more.insert(QStringLiteral("KORVADEX_SIM_COUNTER_START"), QString::number(CounterStart));
    return more;
}

QStringList LogWords(const QString& path, const QString& rate, QStringList more = {})
{
    return QStringList{QStringLiteral("log"),       QStringLiteral("--rate"),   rate,
                       QStringLiteral("--channel"), QStringLiteral("0"),        QStringLiteral("--filter"),
                       QStringLiteral("sinc5"),     QStringLiteral("-o"),       path}
           + more;
}

// A log as read back: its comments, and per run its samples' codes; every
// row must be whole, carry five fields and be the next sample of its run,
// and no line may cross a 4096-byte block.
struct ParsedLog {
    bool Whole = true;
    QStringList Comments;
    std::vector<std::vector<std::int32_t>> Runs;
};

ParsedLog ParseLog(const QByteArray& text)
{
    ParsedLog log;
    log.Whole = text.endsWith('\n');
    for (qsizetype block = 4096; block <= text.size(); block += 4096)
        log.Whole = log.Whole && text[block - 1] == '\n';
    const QList<QByteArray> lines = text.split('\n');
    for (const QByteArray& line : lines.mid(0, lines.size() - 1)) {
        if (line.startsWith('#')) {
            // Lines of blanks only fill a block up.
            if (!line.mid(1).trimmed().isEmpty())
                log.Comments << QString::fromUtf8(line.mid(2));
            continue;
        }
        if (line == "time,run,sample,ch0_code,ch0_uV")
            continue;
        const QList<QByteArray> fields = line.split(',');
        bool runOk = false;
        bool sampleOk = false;
        const int run = fields.value(1).toInt(&runOk);
        const int sample = fields.value(2).toInt(&sampleOk);
        if (fields.size() != 5 || !runOk || !sampleOk || run < 1 || run > static_cast<int>(log.Runs.size()) + 1) {
            log.Whole = false;
            continue;
        }
        if (run > static_cast<int>(log.Runs.size()))
            log.Runs.emplace_back();
        log.Whole = log.Whole && sample == static_cast<int>(log.Runs[run - 1].size());
        log.Runs[run - 1].push_back(fields[3].toInt());
    }
    return log;
}

bool CountsUpFromStart(const std::vector<std::int32_t>& codes)
{
    for (std::size_t i = 0; i < codes.size(); ++i) {
        if (codes[i] != CounterStart + static_cast<std::int32_t>(i))
            return false;
    }
    return !codes.empty();
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
    for (const char* command : {"export", "report", "log"}) {
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
    ASSERT_EQ(log.Comments.size(), 6);
    EXPECT_EQ(log.Comments[1], QStringLiteral("board: KORVADEX / V1.00"));
    EXPECT_EQ(log.Comments[2], QStringLiteral("settings: 10ksps, 100000, CH0 (Ain0-Ain1), Sinc5+Sinc1"));
    EXPECT_TRUE(log.Comments[4].contains(QStringLiteral("between the last sample of run 1 and the first of run 2")));
    EXPECT_TRUE(log.Comments[5].startsWith(QStringLiteral("ended after 2 runs, 200000 samples")));
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
}

INSTANTIATE_TEST_SUITE_P(
    Endings, LogEndingTest,
    ::testing::Values(
        // Unplugged after 9000 bytes: 3000 samples.
        LogEnding{"PulledCable", "KORVADEX_SIM_CABLE_PULL_AFTER", "9000", false, 6, "ended by a read error after 1 runs"},
        LogEnding{"CtrlC", "KORVADEX_SIM_SEED", "1", true, 130, "stopped by Ctrl-C after 1 runs"}),
    [](const ::testing::TestParamInfo<LogEnding>& info) { return std::string(info.param.Name); });

// "board lost at 2026-12-08T21:40:12.345Z: cable pulled ..."
const QRegularExpression LostComment(
    QStringLiteral("^board lost at \\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d\\.\\d{3}Z: cable pulled"));
// The closing comment's "; N reconnects, X s lost".
const QRegularExpression ReconnectSummary(QStringLiteral("; (\\d+) reconnects, (\\d+\\.\\d{3}) s lost$"));

QStringList Matching(const QStringList& comments, const QRegularExpression& pattern)
{
    QStringList found;
    for (const QString& comment : comments) {
        if (pattern.match(comment).hasMatch())
            found << comment;
    }
    return found;
}

// Ten times real time at 10 ksps; the cable comes out 10000 samples into run 2
// (24 bytes of replies, then 3 bytes a sample) and goes back in a second later.
TEST_F(AnalysisCommandTest, ReconnectedLogGoesOnWithTheSameBoardAfterAPulledCable)
{
    const QString path = files.Path(QStringLiteral("replugged.csv"));
    const CliResult r = CliProcess::Run(
        LogWords(path, QStringLiteral("10ksps"), {QStringLiteral("--runs"), QStringLiteral("3"), QStringLiteral("--reconnect")}),
        CountingBoard({{QStringLiteral("KORVADEX_SIM_SPEED"), QStringLiteral("4")},
                       {QStringLiteral("KORVADEX_SIM_CABLE_PULL_AFTER"), QStringLiteral("330030")},
                       {QStringLiteral("KORVADEX_SIM_REPLUG_AFTER_MS"), QStringLiteral("1000")}}));
    ASSERT_EQ(r.ExitCode, 0) << r.Err.toStdString();
    const ParsedLog log = ParseLog(Contents(path));
    EXPECT_TRUE(log.Whole);
    ASSERT_EQ(log.Runs.size(), 3u);
    for (const std::vector<std::int32_t>& run : log.Runs)
        EXPECT_TRUE(CountsUpFromStart(run));
    EXPECT_EQ(log.Runs[0].size(), 100000u);
    EXPECT_EQ(log.Runs[2].size(), 100000u);
    const std::size_t broken = log.Runs[1].size();
    EXPECT_GT(broken, 9000u);
    EXPECT_LT(broken, 11000u);

    const QStringList& c = log.Comments;
    ASSERT_EQ(c.size(), 10) << c.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(c[4].contains(QStringLiteral("between the last sample of run 1 and the first of run 2")));
    EXPECT_EQ(c[5], QStringLiteral("run 2 incomplete: %1 of 100000 samples").arg(broken));
    EXPECT_TRUE(LostComment.match(c[6]).hasMatch()) << c[6].toStdString();
    EXPECT_TRUE(c[7].startsWith(QStringLiteral("board back at "))) << c[7].toStdString();
    EXPECT_TRUE(c[7].endsWith(QStringLiteral(": KORVADEX / V1.00"))) << c[7].toStdString();
    EXPECT_TRUE(c[8].contains(QStringLiteral("between the last sample of run 2 and the first of run 3")));
    EXPECT_TRUE(c[9].startsWith(QStringLiteral("ended after 3 runs, %1 samples").arg(200000 + broken)));
    const QRegularExpressionMatch summary = ReconnectSummary.match(c[9]);
    ASSERT_TRUE(summary.hasMatch()) << c[9].toStdString();
    EXPECT_EQ(summary.captured(1), QStringLiteral("1"));
    // The board was away for a second.
    EXPECT_GE(summary.captured(2).toDouble(), 0.9);
}

struct ReconnectEnding {
    const char* Name;
    const char* Option;
    bool CtrlC;
    int ExitCode;
    const char* LastComment;
    double LeastLost;  // seconds
};

void PrintTo(const ReconnectEnding& ending, std::ostream* out)
{
    *out << ending.Name;
}

class ReconnectEndingTest : public ::testing::TestWithParam<ReconnectEnding> {
protected:
    DtaFiles files;
};

// A board that never comes back after its cable came out 10000 samples into
// the first run: the wait ends by its time or by Ctrl-C, with the rows taken
// kept and the reconnects counted.
TEST_P(ReconnectEndingTest, TheWaitForABoardThatNeverComesBackEnds)
{
    const ReconnectEnding ending = GetParam();
    const QString path = files.Path(QStringLiteral("gone.csv"));
    const QStringList words = LogWords(path, QStringLiteral("10ksps"), {QString::fromLatin1(ending.Option)});
    const CliProcess::Environment board = CountingBoard({{QStringLiteral("KORVADEX_SIM_SPEED"), QStringLiteral("4")},
                                                         {QStringLiteral("KORVADEX_SIM_CABLE_PULL_AFTER"), QStringLiteral("30024")}});
    const CliResult r = !ending.CtrlC ? CliProcess::Run(words, board)
                                      : CliProcess::RunSignalledWhen(
                                            words, board,
                                            [&path] { return Contents(path).contains("board lost at "); }, Stop::CtrlC);
    ASSERT_TRUE(r.Finished);
    EXPECT_EQ(r.ExitCode, ending.ExitCode) << r.Err.toStdString();
    const ParsedLog log = ParseLog(Contents(path));
    EXPECT_TRUE(log.Whole);
    ASSERT_EQ(log.Runs.size(), 1u);
    EXPECT_TRUE(CountsUpFromStart(log.Runs[0]));
    EXPECT_EQ(Matching(log.Comments, QRegularExpression(QStringLiteral("^run 1 incomplete: %1 of 100000 samples$")
                                                            .arg(log.Runs[0].size()))).size(), 1);
    EXPECT_EQ(Matching(log.Comments, LostComment).size(), 1);
    ASSERT_FALSE(log.Comments.isEmpty());
    const QString& last = log.Comments.back();
    EXPECT_TRUE(last.startsWith(QString::fromLatin1(ending.LastComment))) << last.toStdString();
    const QRegularExpressionMatch summary = ReconnectSummary.match(last);
    ASSERT_TRUE(summary.hasMatch()) << last.toStdString();
    EXPECT_EQ(summary.captured(1), QStringLiteral("0"));
    const double lost = summary.captured(2).toDouble();
    EXPECT_GE(lost, ending.LeastLost);
    EXPECT_LT(lost, ending.LeastLost + 1.0);
}

INSTANTIATE_TEST_SUITE_P(
    Endings, ReconnectEndingTest,
    ::testing::Values(
        ReconnectEnding{"GivesUpAfterItsTime", "--reconnect=2", false, 7, "given up on the board after 1 runs", 2.0},
        ReconnectEnding{"CtrlCDuringTheWait", "--reconnect", true, 130, "stopped by Ctrl-C after 1 runs", 0.0}),
    [](const ::testing::TestParamInfo<ReconnectEnding>& info) { return std::string(info.param.Name); });

} // namespace
