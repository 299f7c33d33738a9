// measure and sweep against the virtual board, run as a process.

#include "CliProcess.h"
#include "DtaFiles.h"

#include <QFile>
#include <QFileInfo>

#include "QtPrinting.h"

#include <gtest/gtest.h>

namespace {

constexpr std::int32_t CounterStart = 1000;
constexpr std::int32_t Ch1Offset = 0x800000;

// A board twenty times faster than life that counts up from CounterStart,
// so a lost, doubled or misplaced sample shows in the file.
CliProcess::Environment CountingBoard(CliProcess::Environment more = {})
{
    more.insert(QStringLiteral("KORVADEX_SIM_SPEED"), QStringLiteral("20"));
    more.insert(QStringLiteral("KORVADEX_SIM_COUNTER"), QStringLiteral("1"));
    more.insert(QStringLiteral("KORVADEX_SIM_COUNTER_START"), QString::number(CounterStart));
    return more;
}

QStringList MeasureWords(const QString& channel, QStringList more = {}, const QString& rate = QStringLiteral("10ksps"))
{
    return QStringList{QStringLiteral("measure"), QStringLiteral("--rate"),    rate,
                       QStringLiteral("--count"), QStringLiteral("1000"),      QStringLiteral("--channel"),
                       channel,                   QStringLiteral("--filter"),  QStringLiteral("sinc5")}
           + more;
}

std::vector<std::int32_t> Counting(std::int32_t first, int count)
{
    std::vector<std::int32_t> codes(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        codes[static_cast<std::size_t>(i)] = first + i;
    return codes;
}

QByteArray Contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class MeasureCommandTest : public ::testing::Test {
protected:
    DtaFiles files;
};

TEST_F(MeasureCommandTest, EachChannelModeSavesEverySampleInPlace)
{
    const std::vector<std::int32_t> counting = Counting(CounterStart, 1000);
    const std::vector<std::int32_t> shifted = Counting(CounterStart + Ch1Offset, 1000);
    for (int mode = 0; mode < 3; ++mode) {
        SCOPED_TRACE(mode);
        const QString path = files.Path(QStringLiteral("run%1").arg(mode));
        const CliResult r = CliProcess::Run(MeasureWords(QString::number(mode), {QStringLiteral("-o"), path}),
                                            CountingBoard());
        ASSERT_TRUE(r.Finished);
        ASSERT_EQ(r.ExitCode, 0) << r.Err.toStdString();
        EXPECT_TRUE(r.Err.isEmpty()) << r.Err.toStdString();

        const LoadedRun run = LoadDta(path + QStringLiteral(".DTA"));
        ASSERT_TRUE(run.Ok);
        EXPECT_EQ(run.Settings.spsSel, 11);
        EXPECT_EQ(run.Settings.DataCountSel, 3);
        EXPECT_EQ(run.Settings.CHSel, mode);
        EXPECT_EQ(run.Settings.fSinc5, 1);
        EXPECT_EQ(run.Ch0, mode == 1 ? std::vector<std::int32_t>{} : counting);
        // The board's counter puts CH1 above CH0 by the offset, alone or in pairs.
        EXPECT_EQ(run.Ch1, mode == 0 ? std::vector<std::int32_t>{} : shifted);

        // What measure prints is what info prints for the saved file.
        const CliResult info = CliProcess::Run({QStringLiteral("info"), path + QStringLiteral(".DTA")});
        EXPECT_EQ(r.OutLines(), QStringList{QStringLiteral("KORVADEX / V1.00")} + info.OutLines());
    }
}

TEST_F(MeasureCommandTest, ExistingFileIsReplacedOnlyWhenForced)
{
    const QString path = files.WriteText(QStringLiteral("keep.dta.DTA"), "old\r\n");
    // keep.dta is saved as keep.dta.DTA, the window's rule.
    const QString given = files.Path(QStringLiteral("keep.dta"));
    const CliResult refused = CliProcess::Run(MeasureWords(QStringLiteral("0"), {QStringLiteral("-o"), given}),
                                              CountingBoard());
    EXPECT_EQ(refused.ExitCode, 2);
    EXPECT_TRUE(refused.Err.contains(QStringLiteral("ファイル：") + path + QStringLiteral("があります。")));
    EXPECT_EQ(Contents(path), QByteArray("old\r\n"));

    const CliResult forced = CliProcess::Run(
        MeasureWords(QStringLiteral("0"), {QStringLiteral("-o"), given, QStringLiteral("--force")}), CountingBoard());
    EXPECT_EQ(forced.ExitCode, 0) << forced.Err.toStdString();
    EXPECT_TRUE(LoadDta(path).Ok);
    EXPECT_FALSE(QFileInfo::exists(given));
}

TEST_F(MeasureCommandTest, JsonNamesTheBoard)
{
    const CliResult r = CliProcess::Run(MeasureWords(QStringLiteral("1"), {QStringLiteral("--json")}), CountingBoard());
    ASSERT_EQ(r.ExitCode, 0) << r.Err.toStdString();
    ASSERT_EQ(r.OutLines().size(), 1);
    EXPECT_TRUE(r.Out.contains(QStringLiteral("\"board\":\"KORVADEX / V1.00\"")));
    EXPECT_TRUE(r.Out.contains(QStringLiteral("\"file\":\"measurement\"")));
}

struct BoardFailure {
    const char* Name;
    const char* Variable;
    const char* Value;
    int ExitCode;
    const char* Text;
};

void PrintTo(const BoardFailure& failure, std::ostream* out)
{
    *out << failure.Name;
}

class MeasureFailureTest : public ::testing::TestWithParam<BoardFailure> {
protected:
    DtaFiles files;
};

TEST_P(MeasureFailureTest, EndsWithItsExitCodeTheWindowsTextAndNoFile)
{
    const BoardFailure failure = GetParam();
    const QString path = files.Path(QStringLiteral("failed.DTA"));
    const CliResult r = CliProcess::Run(
        MeasureWords(QStringLiteral("0"), {QStringLiteral("-o"), path}),
        CountingBoard({{QString::fromLatin1(failure.Variable), QString::fromLatin1(failure.Value)}}));
    ASSERT_TRUE(r.Finished);
    EXPECT_EQ(r.ExitCode, failure.ExitCode);
    EXPECT_TRUE(r.Err.contains(QString::fromUtf8(failure.Text))) << r.Err.toStdString();
    EXPECT_TRUE(r.Out.isEmpty()) << r.Out.toStdString();
    EXPECT_FALSE(QFileInfo::exists(path));
}

INSTANTIATE_TEST_SUITE_P(
    Boards, MeasureFailureTest,
    ::testing::Values(BoardFailure{"Absent", "KORVADEX_SIM_FAULTS", "absent", 3, "KORVADEX が見つかりませんでした"},
                      BoardFailure{"WrongName", "KORVADEX_SIM_FAULTS", "wrong-name", 3, "KORVADEX が見つかりませんでした"},
                      BoardFailure{"Silent", "KORVADEX_SIM_FAULTS", "silent", 4, "KORVADEX が応答しませんでした"},
                      BoardFailure{"RefusesAll", "KORVADEX_SIM_FAULTS", "ng", 4, "KORVADEX が応答しませんでした"},
                      BoardFailure{"RefusesSettings", "KORVADEX_SIM_FAULTS", "ng-set", 5, "KORVADEX Board がエラーです"},
                      // Unplugged after 1500 of the run's 3000 bytes.
                      BoardFailure{"UnpluggedMidRun", "KORVADEX_SIM_CABLE_PULL_AFTER", "1500", 6, "計測エラーで終了"}),
    [](const ::testing::TestParamInfo<BoardFailure>& info) { return std::string(info.param.Name); });

TEST_F(MeasureCommandTest, NoDriverLibraryIsABoardNotFound)
{
    CliProcess::Environment board = CountingBoard();
    board.insert(QStringLiteral(LIBRARY_PATH_VARIABLE), files.Path(QStringLiteral("nowhere")));
    const CliResult r = CliProcess::Run(MeasureWords(QStringLiteral("0")), board);
    EXPECT_EQ(r.ExitCode, 3);
}

TEST_F(MeasureCommandTest, StalledStreamIsAReadErrorAfterTheStallTimeout)
{
    const QString path = files.Path(QStringLiteral("stalled.DTA"));
    const CliResult r = CliProcess::Run(
        MeasureWords(QStringLiteral("2"), {QStringLiteral("-o"), path, QStringLiteral("--stall-timeout"),
                                           QStringLiteral("0.3")}),
        CountingBoard({{QStringLiteral("KORVADEX_SIM_STALL_AFTER"), QStringLiteral("50")}}));
    EXPECT_EQ(r.ExitCode, 6);
    EXPECT_TRUE(r.Err.contains(QStringLiteral("計測エラーで終了")));
    EXPECT_FALSE(QFileInfo::exists(path));
}

// The board sends `samples` samples and then nothing until "AX"; Ctrl-C
// comes once the program has read every byte of them.
CliResult StoppedAfter(int samples, const QString& path, const QString& mark)
{
    return CliProcess::RunSignalledWhen(
        MeasureWords(QStringLiteral("0"), {QStringLiteral("-o"), path}, QStringLiteral("5sps")),
        CountingBoard({{QStringLiteral("KORVADEX_SIM_STALL_AFTER"), QString::number(samples)},
                       {QStringLiteral("KORVADEX_SIM_STALL_MARK"), mark}}),
        [&mark] { return QFileInfo::exists(mark); }, Stop::CtrlC);
}

// At 5 sps the window reads one sample at a time, so every sample sent is taken.
TEST_F(MeasureCommandTest, CtrlCKeepsTenSamples)
{
    const QString path = files.Path(QStringLiteral("stopped.DTA"));
    const CliResult r = StoppedAfter(10, path, files.Path(QStringLiteral("taken")));
    ASSERT_TRUE(r.Finished);
    EXPECT_EQ(r.ExitCode, 130);
    EXPECT_TRUE(r.Err.contains(QStringLiteral("計測中止しました")));
    const LoadedRun run = LoadDta(path);
    ASSERT_TRUE(run.Ok);
    EXPECT_EQ(run.Settings.DataCountSel, 3);
    EXPECT_EQ(run.Ch0, Counting(CounterStart, 10));
    EXPECT_TRUE(r.Out.contains(QStringLiteral("pp値：9 digit")));
}

TEST_F(MeasureCommandTest, CtrlCDropsNineSamples)
{
    const QString path = files.Path(QStringLiteral("dropped.DTA"));
    const CliResult r = StoppedAfter(9, path, files.Path(QStringLiteral("taken")));
    EXPECT_EQ(r.ExitCode, 130);
    EXPECT_TRUE(r.Err.contains(QStringLiteral("計測中止しました")));
    EXPECT_TRUE(r.Out.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(path));
}

TEST(SweepCommandTest, CsvTableHasEveryFilterAndRate)
{
    // 100 samples at 5 sps are 20 s of board time: 20 ms at this speed.
    const CliResult r = CliProcess::Run({QStringLiteral("sweep"), QStringLiteral("--channel"), QStringLiteral("0"),
                                         QStringLiteral("--count"), QStringLiteral("100"), QStringLiteral("--time-cap"),
                                         QStringLiteral("1"), QStringLiteral("--csv")},
                                        {{QStringLiteral("KORVADEX_SIM_SPEED"), QStringLiteral("1000")}});
    ASSERT_TRUE(r.Finished);
    ASSERT_EQ(r.ExitCode, 0) << r.Err.toStdString();
    const QStringList lines = r.OutLines();
    ASSERT_EQ(lines.size(), 35);
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("filter,rate,samples,channel,rms_noise_uV")));
    EXPECT_TRUE(lines[1].startsWith(QStringLiteral("Sinc3,5sps,100,CH0,")));
    EXPECT_TRUE(lines[17].startsWith(QStringLiteral("Sinc3,125ksps,100,CH0,")));
    EXPECT_TRUE(lines[18].startsWith(QStringLiteral("Sinc5+Sinc1,5sps,100,CH0,")));
    EXPECT_TRUE(lines[34].startsWith(QStringLiteral("Sinc5+Sinc1,125ksps,100,CH0,")));
    for (int i = 1; i < lines.size(); ++i) {
        const QStringList cells = lines[i].split(QLatin1Char(','));
        ASSERT_EQ(cells.size(), 8) << i;
        bool ok = false;
        // The virtual board's inputs are noisy: every figure is a number above 0.
        for (int cell = 4; cell < 8; ++cell) {
            EXPECT_GT(cells[cell].toDouble(&ok), 0.0) << lines[i].toStdString();
            EXPECT_TRUE(ok) << lines[i].toStdString();
        }
    }
}

TEST(SweepCommandTest, TwoChannelSweepHasARowPerChannel)
{
    const CliResult r = CliProcess::Run({QStringLiteral("sweep"), QStringLiteral("--channel"), QStringLiteral("2"),
                                         QStringLiteral("--count"), QStringLiteral("100"), QStringLiteral("--time-cap"),
                                         QStringLiteral("1")},
                                        {{QStringLiteral("KORVADEX_SIM_SPEED"), QStringLiteral("1000")}});
    ASSERT_EQ(r.ExitCode, 0) << r.Err.toStdString();
    const QStringList lines = r.OutLines();
    ASSERT_EQ(lines.size(), 2 + 68);
    EXPECT_EQ(lines[0], QStringLiteral("KORVADEX / V1.00"));
    EXPECT_TRUE(lines[1].startsWith(QStringLiteral("filter")));
    EXPECT_TRUE(lines[2].contains(QStringLiteral(" CH0 ")));
    EXPECT_TRUE(lines[3].contains(QStringLiteral(" CH1 ")));
}

TEST(SweepCommandTest, UnpluggedBoardEndsTheSweepWithAReadError)
{
    const CliResult r = CliProcess::Run({QStringLiteral("sweep"), QStringLiteral("--channel"), QStringLiteral("0"),
                                         QStringLiteral("--count"), QStringLiteral("100"), QStringLiteral("--csv")},
                                        {{QStringLiteral("KORVADEX_SIM_SPEED"), QStringLiteral("1000")},
                                         {QStringLiteral("KORVADEX_SIM_CABLE_PULL_AFTER"), QStringLiteral("1000")}});
    EXPECT_EQ(r.ExitCode, 6);
    EXPECT_TRUE(r.Err.contains(QStringLiteral("計測エラーで終了")));
    // The header and the points finished before the cable came out.
    EXPECT_GE(r.OutLines().size(), 2);
    EXPECT_LT(r.OutLines().size(), 35);
}

} // namespace
