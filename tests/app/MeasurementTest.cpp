#include "MeasureRig.h"

#include <QAction>
#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include <utility>

namespace {

using namespace std::chrono_literals;
using Commands = std::vector<std::string>;
using XAxis = std::pair<QString, QString>;

constexpr int Rate5sps = 0;
constexpr int Rate100sps = 5;
constexpr int Rate500sps = 7;
constexpr int Rate125ksps = 16;
constexpr int Count100 = 0;
constexpr int Count1000 = 3;
constexpr int Count5000 = 5;

constexpr std::int32_t MidScale = 8388608;

XAxis XLabels(const WindowRig& rig)
{
    return {rig.Label("Label15"), rig.Label("Label16")};
}

// Runs the started run to its end one pass at a time, noting each new X axis
// and the pass that brought it.
std::vector<std::pair<int, XAxis>> XAxesDuringRun(MeasureRig& rig, std::chrono::milliseconds boardTime)
{
    std::vector<std::pair<int, XAxis>> axes{{0, XLabels(rig)}};
    rig.clock.Advance(boardTime);
    for (int pass = 1; rig.probe.Running() && pass < 100000; ++pass) {
        rig.probe.IdlePass();
        if (XLabels(rig) != axes.back().second)
            axes.push_back({pass, XLabels(rig)});
    }
    return axes;
}

int ReadsOf(const RecordingD2xx& driver, DWORD bytes)
{
    return static_cast<int>(std::count(driver.ReadSizes.begin(), driver.ReadSizes.end(), bytes));
}

TEST(Measurement, StartIdentifiesTheBoardConfiguresItAndLocksAllButTheStopButton)
{
    MeasureRig rig;
    rig.Choose(Rate100sps, Count1000, 0);
    rig.Press();
    EXPECT_EQ(rig.TakeCommands(), (Commands{"?", "U?", "V?", "S3", "F5", "A0003E8"}));
    EXPECT_EQ(rig.Panel(0), "KORVADEX / V1.00");
    EXPECT_EQ(rig.Panel(1), "計測中です");
    EXPECT_EQ(rig.Panel(2), "測定開始処理中です。。。");
    EXPECT_EQ(rig.MeasureCaption(), "測定停止");
    EXPECT_TRUE(rig.Find<QPushButton>("MeasureBtn")->isEnabled());
    EXPECT_FALSE(rig.Find<QPushButton>("QuitBtn")->isEnabled());
    EXPECT_FALSE(rig.Find<QComboBox>("ComboBox1")->isEnabled());
    EXPECT_EQ(rig.window->windowTitle(), "KORVADEX / v2.00");
    EXPECT_TRUE(rig.messages.Boxes.empty());
}

TEST(Measurement, ThousandSamplesAt100spsReadTwoAtATimeAndFollowBlockByBlock)
{
    MeasureRig rig;
    rig.CountFrom(MidScale);
    rig.Choose(Rate100sps, Count1000, 0);
    rig.Press();
    rig.driver.ReadSizes.clear();

    const auto axes = XAxesDuringRun(rig, 11s);

    EXPECT_EQ(rig.driver.ReadSizes.size(), 500u);
    EXPECT_EQ(ReadsOf(rig.driver, 6), 500) << "500 reads of 2 samples";
    std::vector<std::pair<int, XAxis>> expected{{0, {"1", "1000"}}};
    for (int block = 0; block < 9; ++block)
        expected.push_back({50 * (block + 1), {QString::number(100 * block + 1), QString::number(100 * block + 100)}});
    expected.push_back({500, {"1", "1000"}}); // the whole run; 901..1000 is never a block
    EXPECT_EQ(axes, expected);

    for (std::int32_t i = 0; i < 1000; ++i)
        ASSERT_EQ(rig.probe.Codes(0)[i], MidScale + i) << "sample " << i;
    EXPECT_EQ(rig.Panel(1), "計測終了しました");
    // Codes 0..999 above mid-scale: mean 499 (truncated), deviation 288.68.
    EXPECT_EQ(rig.Panel(2), "CH0 : 最大値：8389607 / 最小値：8388608 / pp値：999 digit / 標準偏差：288.7 digit");
    EXPECT_EQ(rig.MeasureCaption(), "測定開始");
    EXPECT_TRUE(rig.Unlocked());
    EXPECT_TRUE(rig.TakeCommands().size() == 6) << "a complete run sends no stop";
    EXPECT_TRUE(rig.probe.BoardReady());
}

TEST(Measurement, HundredSamplesAt5spsDrawNoBlockBeforeTheEnd)
{
    MeasureRig rig;
    rig.CountFrom(MidScale);
    rig.Choose(Rate5sps, Count100, 0);
    rig.Press();
    rig.driver.ReadSizes.clear();

    const auto axes = XAxesDuringRun(rig, 25s);

    EXPECT_EQ(ReadsOf(rig.driver, 3), 100) << "one sample a read";
    ASSERT_EQ(axes.size(), 2u);
    EXPECT_EQ(axes[1], std::make_pair(100, XAxis{"1", "100"})) << "drawn once, by the last pass";
    EXPECT_EQ(rig.Panel(1), "計測終了しました");
}

TEST(Measurement, Above200spsOnlyTheReadoutChangesDuringTheRun)
{
    MeasureRig rig;
    rig.CountFrom(MidScale);
    rig.Choose(Rate500sps, Count1000, 0);
    rig.Press();
    rig.clock.Advance(3s);
    const QString topLabel = rig.Label("Label1");

    rig.probe.IdlePass();
    EXPECT_EQ(rig.Panel(2), "データ番号：5 / AD変換値：8388612");
    rig.probe.IdlePass();
    EXPECT_EQ(rig.Panel(2), "データ番号：10 / AD変換値：8388617");
    const auto axes = XAxesDuringRun(rig, 0s);
    EXPECT_EQ(axes.size(), 1u) << "the full view's axis 1..1000 happens to equal the empty plot's";
    EXPECT_EQ(rig.Label("Label1"), "8390100") << "but the Y axis now spans the run";
    EXPECT_NE(topLabel, rig.Label("Label1"));
    EXPECT_EQ(rig.probe.ChunkSize(), 5);
}

TEST(Measurement, At125kspsThousandSampleChunksEndExactlyOnTheCount)
{
    MeasureRig rig;
    rig.CountFrom(0);
    rig.Choose(Rate125ksps, Count5000, 0);
    rig.Press();
    EXPECT_EQ(rig.TakeCommands().back(), "A001388");
    rig.driver.ReadSizes.clear();
    rig.clock.Advance(1s);
    rig.probe.IdlePass();
    EXPECT_EQ(rig.Panel(2), "データ番号：1000 / AD変換値：999");
    rig.RunToEnd(0ms);
    EXPECT_EQ(ReadsOf(rig.driver, 3000), 5);
    EXPECT_EQ(rig.probe.SamplesTaken(), 5000);
    EXPECT_EQ(rig.Label("Label16"), "5000");
}

TEST(Measurement, Ch1RunShowsTheNewestCh1CodeAndItsStatistics)
{
    MeasureRig rig;
    rig.CountFrom(100);
    rig.Choose(Rate100sps, Count1000, 1);
    rig.Press();
    EXPECT_EQ(rig.TakeCommands().back(), "A1003E8");
    rig.clock.Advance(11s);
    rig.probe.IdlePass();
    // CH1 carries the count plus 0x800000: sample 1 is 100 + 1 + 8388608.
    EXPECT_EQ(rig.Panel(2), "データ番号：2 / AD変換値：8388709");
    rig.RunToEnd(0ms);
    for (std::int32_t i = 0; i < 1000; ++i)
        ASSERT_EQ(rig.probe.Codes(1)[i], 100 + MidScale + i) << "sample " << i;
    EXPECT_TRUE(rig.Panel(2).startsWith("CH1 : 最大値：8389707 / 最小値：8388708")) << rig.Panel(2).toStdString();
    const QString shown = rig.Panel(2);
    rig.Bar().Clicked();
    EXPECT_EQ(rig.Panel(2), shown) << "one channel: a click changes nothing";
}

TEST(Measurement, DualRunFillsBothChannelsPairByPair)
{
    MeasureRig rig;
    rig.CountFrom(MidScale);
    rig.Choose(Rate100sps, Count1000, 2);
    rig.Press();
    EXPECT_EQ(rig.TakeCommands().back(), "A2003E8");
    rig.driver.ReadSizes.clear();
    rig.clock.Advance(30s);
    rig.probe.IdlePass();
    // CH1 = CH0 + 0x800000, modulo 2^24: 8388609 + 8388608 wraps to 1.
    EXPECT_EQ(rig.Panel(2), "データ番号：2 / AD変換値：8388609 / 1");
    rig.RunToEnd(0ms);
    EXPECT_EQ(ReadsOf(rig.driver, 12), 500) << "two 6-byte frames a read";
    for (std::int32_t i = 0; i < 1000; ++i) {
        ASSERT_EQ(rig.probe.Codes(0)[i], MidScale + i) << "CH0 sample " << i;
        ASSERT_EQ(rig.probe.Codes(1)[i], i) << "CH1 sample " << i;
    }
    EXPECT_TRUE(rig.Panel(2).startsWith("CH0 : ")) << rig.Panel(2).toStdString();
    rig.Bar().Clicked();
    EXPECT_EQ(rig.Panel(2), "CH1 : 最大値：999 / 最小値：0 / pp値：999 digit / 標準偏差：288.7 digit");
    EXPECT_EQ(rig.Panel(1), "計測終了しました");
}

TEST(Measurement, StopAfterNineSamplesDropsThemAndTheNextStartIdentifiesAgain)
{
    MeasureRig rig;
    rig.CountFrom(MidScale);
    rig.Choose(Rate5sps, Count100, 0);
    rig.Press();
    const XAxis before = XLabels(rig);
    rig.PassUntil([&] { return rig.probe.SamplesTaken() == 9; }, 20ms);
    rig.TakeCommands();
    rig.Press();

    EXPECT_EQ(rig.TakeCommands(), (Commands{"AX"}));
    EXPECT_EQ(rig.Panel(1), "計測中止しました");
    EXPECT_EQ(rig.Panel(2), "");
    EXPECT_EQ(XLabels(rig), before) << "the graph is not redrawn";
    EXPECT_EQ(rig.MeasureCaption(), "測定開始");
    EXPECT_TRUE(rig.Unlocked());
    EXPECT_FALSE(rig.probe.BoardReady());
    rig.Find<QAction>("Save1")->trigger();
    EXPECT_EQ(rig.OnlyBox(), "データがありません");

    rig.Press();
    EXPECT_EQ(rig.TakeCommands(), (Commands{"?", "U?", "V?", "S3", "F0", "A000064"}));
}

TEST(Measurement, ClosingTheWindowDuringARunStopsTheBoardThenClosesTheLink)
{
    MeasureRig rig;
    rig.Choose(Rate5sps, Count100, 0);
    rig.Press();
    rig.PassUntil([&] { return rig.probe.SamplesTaken() >= 3; }, 20ms);
    rig.TakeCommands();
    rig.window->close();
    rig.window.reset();

    EXPECT_EQ(rig.TakeCommands(), (Commands{"AX"}));
    EXPECT_FALSE(rig.board.Running()) << "the stop must reach the board before the link closes";
    FT_HANDLE handle = nullptr;
    EXPECT_EQ(rig.board.FT_Open(0, &handle), FT_OK) << "the link must be closed";
}

TEST(Measurement, StopAfterTenSamplesKeepsThemDrawnWithTheirStatistics)
{
    MeasureRig rig;
    rig.CountFrom(MidScale);
    rig.Choose(Rate5sps, Count100, 0);
    rig.Press();
    rig.PassUntil([&] { return rig.probe.SamplesTaken() == 10; }, 20ms);
    rig.Press();

    EXPECT_EQ(rig.Panel(1), "計測中止しました");
    // Codes 0..9 above mid-scale about the truncated mean 4: sqrt(8.5).
    EXPECT_EQ(rig.Panel(2), "CH0 : 最大値：8388617 / 最小値：8388608 / pp値：9 digit / 標準偏差：2.92 digit");
    EXPECT_EQ(XLabels(rig), XAxis("1", "100"));
    EXPECT_EQ(rig.MeasureCaption(), "測定開始");
    EXPECT_TRUE(rig.Unlocked());
}

struct FailedIdentification {
    const char* name;
    bool BoardFaults::*fault;
    const char* box;
    Commands sent;
};

class Identification : public testing::TestWithParam<FailedIdentification> {};

// Whatever failed, the first panel ends on the not-found text and no run starts.
TEST_P(Identification, FailureShowsItsBoxAndTheNotFoundText)
{
    MeasureRig rig;
    BoardFaults faults;
    faults.*GetParam().fault = true;
    rig.board.SetFaults(faults);
    rig.Press();
    EXPECT_EQ(rig.OnlyBox(), GetParam().box);
    EXPECT_EQ(rig.messages.Boxes.at(0).Caption, "KORVADEX Board");
    EXPECT_EQ(rig.Panel(0), NotFoundPanel);
    EXPECT_EQ(rig.TakeCommands(), GetParam().sent);
    EXPECT_EQ(rig.MeasureCaption(), "測定開始");
    EXPECT_TRUE(rig.Unlocked());
    EXPECT_FALSE(rig.probe.Running());
    EXPECT_FALSE(rig.probe.BoardReady());
}

INSTANTIATE_TEST_SUITE_P(
    Measurement, Identification,
    testing::Values(FailedIdentification{"NoBoard", &BoardFaults::Absent, NotFoundBox, {}},
                    FailedIdentification{"SilentBoard", &BoardFaults::Silent, NoResponseBox, {"?"}},
                    FailedIdentification{"AnotherName", &BoardFaults::WrongName, NotFoundBox, {"?", "U?"}}),
    [](const testing::TestParamInfo<FailedIdentification>& info) { return std::string(info.param.name); });

TEST(Measurement, RefusedConfigurationShowsTheErrorTextNoBoxAndIdentifiesNextTime)
{
    MeasureRig rig;
    rig.Choose(Rate125ksps, Count100, 0);
    rig.Press();
    rig.RunToEnd(1s);
    const QString statistics = rig.Panel(2);
    rig.TakeCommands();

    BoardFaults faults;
    faults.NgToAll = true;
    rig.board.SetFaults(faults);
    rig.Press();
    EXPECT_EQ(rig.TakeCommands(), (Commands{"S3"})) << "identification skipped, the filter refused";
    EXPECT_EQ(rig.Panel(0), "KORVADEX Board がエラーです");
    EXPECT_TRUE(rig.messages.Boxes.empty());
    EXPECT_EQ(rig.Panel(2), statistics) << "the earlier run is kept";
    EXPECT_FALSE(rig.probe.BoardReady());
    EXPECT_TRUE(rig.Unlocked());

    rig.board.SetFaults(BoardFaults());
    rig.Press();
    EXPECT_EQ(rig.TakeCommands().front(), "?");
}

TEST(Measurement, ReadFailureEndsTheRunDropsItsSamplesAndKeepsTheBoardReady)
{
    MeasureRig rig;
    rig.Choose(Rate100sps, Count1000, 0);
    rig.Press();
    rig.clock.Advance(2s);
    for (int pass = 0; pass < 20; ++pass)
        rig.probe.IdlePass();
    rig.TakeCommands();

    rig.driver.FailQueueStatus = true;
    rig.probe.IdlePass();
    rig.driver.FailQueueStatus = false;

    EXPECT_EQ(rig.TakeCommands(), (Commands{"AX"}));
    EXPECT_EQ(rig.Panel(2), "計測エラーで終了");
    EXPECT_FALSE(rig.probe.Running());
    EXPECT_EQ(rig.MeasureCaption(), "測定開始");
    EXPECT_TRUE(rig.Unlocked());
    EXPECT_TRUE(rig.probe.BoardReady());
    rig.Find<QAction>("Save1")->trigger();
    EXPECT_EQ(rig.OnlyBox(), "データがありません");

    rig.Press();
    EXPECT_EQ(rig.TakeCommands(), (Commands{"S3", "F5", "A0003E8"})) << "no identification";
}

TEST(Measurement, NextStartAfterACompleteRunSkipsIdentification)
{
    MeasureRig rig;
    rig.Choose(Rate125ksps, Count100, 0);
    rig.Press();
    rig.RunToEnd(1s);
    rig.TakeCommands();
    rig.Find<QRadioButton>("Sinc5_RB")->setChecked(true);
    rig.Press();
    EXPECT_EQ(rig.TakeCommands(), (Commands{"S5", "FG", "A000064"}));
}

TEST(Measurement, StopClickCannotLandInsideTheFinalRedraw)
{
    MeasureRig rig;
    rig.Choose(Rate125ksps, Count100, 0);
    rig.Press();
    rig.clock.Advance(1s);
    rig.TakeCommands();

    auto* button = rig.Find<QPushButton>("MeasureBtn");
    bool ranInsideRedraw = false;
    bool enabledThen = true;
    QTimer::singleShot(0, [&] {
        ranInsideRedraw = rig.probe.Running() == false && rig.MeasureCaption() == "測定停止";
        enabledThen = button->isEnabled();
        button->click();
    });
    rig.probe.IdlePass(); // the one read of 100 samples ends the run

    EXPECT_TRUE(ranInsideRedraw) << "the click came while the end of the run was drawn";
    EXPECT_FALSE(enabledThen);
    EXPECT_TRUE(rig.TakeCommands().empty()) << "no stop was sent";
    EXPECT_EQ(rig.Panel(1), "計測終了しました");
    EXPECT_TRUE(rig.probe.BoardReady());
    EXPECT_EQ(rig.MeasureCaption(), "測定開始");
}

TEST(Measurement, DualRunSaysItEndedBeforeItsFinalRedrawSingleRunAfter)
{
    for (const int channel : {2, 0}) {
        MeasureRig rig;
        rig.Choose(Rate125ksps, Count100, channel);
        rig.Press();
        rig.clock.Advance(1s);

        QString panelDuringRedraw;
        QTimer::singleShot(0, [&] { panelDuringRedraw = rig.Panel(1); });
        rig.probe.IdlePass(); // the one read of 100 samples ends the run

        EXPECT_EQ(panelDuringRedraw, channel == 2 ? "計測終了しました" : "計測中です") << "channel mode " << channel;
        EXPECT_EQ(rig.Panel(1), "計測終了しました");
    }
}

TEST(Measurement, RunningWindowPollsEveryMillisecondAndStopsPollingAfterTheRun)
{
    MeasureRig rig;
    rig.Choose(Rate5sps, Count100, 0);
    rig.Press();
    EXPECT_TRUE(rig.probe.IdleScheduled());
    rig.probe.IdlePass(); // nothing there yet
    EXPECT_EQ(rig.probe.IdleInterval(), 1);
    rig.clock.Advance(1s);
    rig.probe.IdlePass();
    EXPECT_EQ(rig.probe.IdleInterval(), 0) << "samples came: look again at once";
    rig.RunToEnd(25s);
    rig.Settle();
    EXPECT_FALSE(rig.probe.IdleScheduled());
}

} // namespace
