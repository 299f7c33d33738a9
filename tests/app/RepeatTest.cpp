#include "AnalysisWindow.h"
#include "MeasureRig.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>

namespace {

using namespace std::chrono_literals;
using Commands = std::vector<std::string>;

constexpr int Rate125ksps = 16;
constexpr int Count100 = 0;
constexpr std::uint32_t MidScale = 8388608;

// Codes 8388608 .. 8388707: mean 49.5 above mid-scale, cut to 49.
const char* const HundredRun = "CH0 : 最大値：8388707 / 最小値：8388608 / pp値：99 digit / 標準偏差：28.9 digit";
const char* const RunEnd = "計測終了しました";

// Runs of 100 CH0 samples at 125 ksps on the counter pattern, with "連続測定"
// checked.
struct RepeatRig : MeasureRig {
    RepeatRig()
    {
        CountFrom(MidScale);
        Choose(Rate125ksps, Count100, 0);
        Repeat()->setChecked(true);
    }

    QCheckBox* Repeat() const { return Find<QCheckBox>("Repeat_CB"); }
    QPushButton* MeasureBtn() const { return Find<QPushButton>("MeasureBtn"); }
    bool DataMenuLocked() const { return !Find<QMenu>("Data1")->menuAction()->isEnabled(); }
    QString Title() const { return window->windowTitle(); }
    // Runs the run in progress to its end: the pause before the next start.
    void FinishRun() { RunToEnd(1s); }
    // The pass after the pause: the next start, if any.
    void NextPass() { probe.IdlePass(); }
    // The repetition is over: the start button back, everything unlocked,
    // and no run starts by itself.
    void ExpectEnded()
    {
        EXPECT_EQ(MeasureCaption(), "測定開始");
        EXPECT_TRUE(Unlocked());
        NextPass();
        Settle();
        EXPECT_FALSE(probe.Running());
    }
    AnalysisWindow* View() const { return window->findChild<AnalysisWindow*>(QStringLiteral("AnalysisWindow")); }
    std::int32_t ShownMean() const { return View()->Analysis()->Channels.front().Figures.MeanCode; }
};

// The check box sits in the free room of the right-hand column, overlapping
// nothing, and stays usable while the other controls are locked.
TEST(Repeat, TheCheckBoxFillsFreeRoomAboveTheStartButtonAndStaysUsableDuringARun)
{
    RepeatRig rig;
    QCheckBox* box = rig.Repeat();
    EXPECT_EQ(box->text(), "連続測定");
    const QRect place = box->geometry();
    EXPECT_TRUE(QRect(0, 0, TFormMain::ClientWidth, TFormMain::ClientHeight).contains(place));
    for (QWidget* other : box->parentWidget()->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (other != box && other->isVisibleTo(rig.window.get())) {
            EXPECT_FALSE(other->geometry().intersects(place)) << other->objectName().toStdString();
        }
    }
    EXPECT_LT(place.bottom(), rig.MeasureBtn()->geometry().top());
    EXPECT_EQ(place.left(), rig.Find<QWidget>("Label14")->x()) << "in line with the column's captions";

    rig.Press();
    ASSERT_TRUE(rig.probe.Running());
    EXPECT_TRUE(box->isEnabled());
    EXPECT_FALSE(rig.Find<QWidget>("ComboBox1")->isEnabled());
}

// Each run ends as a single run does, then the next starts at the next pass
// with the same settings and no identification; the caption counts them.
// Closing the window in a run stops the board.
TEST(Repeat, EachCompleteRunIsShownThenTheNextStartsWithTheSameSettings)
{
    RepeatRig rig;
    rig.Press();
    EXPECT_EQ(rig.TakeCommands(), (Commands{"?", "U?", "V?", "S3", "FG", "A000064"}));
    EXPECT_EQ(rig.Title(), "KORVADEX / v2.00 : 1 回目");

    for (int run = 2; run <= 3; ++run) {
        rig.FinishRun();
        EXPECT_EQ(rig.Panel(1), RunEnd) << run - 1;
        EXPECT_EQ(rig.Panel(2), HundredRun) << run - 1;
        EXPECT_EQ(rig.Label("Label16"), "100") << "the whole run drawn";
        EXPECT_EQ(rig.MeasureCaption(), "測定停止");
        EXPECT_TRUE(rig.MeasureBtn()->isEnabled());
        EXPECT_TRUE(rig.DataMenuLocked());
        EXPECT_TRUE(rig.probe.IdleScheduled()) << "the next start is due at once";
        EXPECT_TRUE(rig.TakeCommands().empty()) << "the board ended the run by itself";

        rig.NextPass();
        EXPECT_TRUE(rig.probe.Running()) << run;
        EXPECT_EQ(rig.TakeCommands(), (Commands{"S3", "FG", "A000064"})) << run;
        EXPECT_EQ(rig.Title(), QStringLiteral("KORVADEX / v2.00 : %1 回目").arg(run));
        EXPECT_EQ(rig.Panel(1), "計測中です");
        EXPECT_EQ(rig.Panel(2), "測定開始処理中です。。。");
    }

    rig.window->close();
    rig.window.reset();
    EXPECT_EQ(rig.TakeCommands(), (Commands{"AX"}));
}

// The stop button between runs ends the repetition and leaves the last
// complete run to save; within a run it stops as a single run stops.
TEST(Repeat, StopBetweenRunsKeepsTheLastCompleteRunToSave)
{
    RepeatRig rig;
    QTemporaryDir folder;
    rig.Press();
    rig.FinishRun();
    rig.TakeCommands();
    rig.Press();

    EXPECT_EQ(rig.Panel(1), RunEnd);
    EXPECT_EQ(rig.Panel(2), HundredRun);
    rig.ExpectEnded();
    EXPECT_TRUE(rig.TakeCommands().empty()) << "nothing started, nothing stopped";
    EXPECT_TRUE(rig.probe.BoardReady());

    const QString path = QDir(folder.path()).filePath(QStringLiteral("last.DTA"));
    rig.files.Paths << path;
    rig.Find<QAction>("Save1")->trigger();
    EXPECT_EQ(rig.Panel(1), "データファイルを保存しました");
    QFile saved(path);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    const QByteArray data = saved.readAll();
    EXPECT_TRUE(data.contains("D:\r\n8388608\r\n8388609\r\n")) << data.left(160).toStdString();
    EXPECT_TRUE(data.endsWith("8388707\r\nDEND:\r\n"));
}

TEST(Repeat, StopWithinARepeatedRunStopsAsASingleRunDoes)
{
    RepeatRig rig;
    rig.Choose(5, 3, 0);  // 100 sps, 1000 samples: two a read
    rig.Press();
    rig.RunToEnd(11s);
    rig.NextPass();
    rig.PassUntil([&] { return rig.probe.SamplesTaken() >= 20; }, 10ms);
    rig.TakeCommands();
    rig.Press();

    EXPECT_EQ(rig.TakeCommands(), (Commands{"AX"}));
    EXPECT_EQ(rig.Panel(1), "計測中止しました");
    EXPECT_EQ(rig.Panel(2), "CH0 : 最大値：8388627 / 最小値：8388608 / pp値：19 digit / 標準偏差：5.79 digit");
    rig.ExpectEnded();
}

// Switched off during a run, the repetition ends with that run.
TEST(Repeat, SwitchedOffDuringARunThatRunIsTheLast)
{
    RepeatRig rig;
    rig.Press();
    rig.FinishRun();
    rig.NextPass();
    rig.Repeat()->setChecked(false);
    rig.TakeCommands();
    rig.FinishRun();

    EXPECT_EQ(rig.Panel(2), HundredRun);
    rig.ExpectEnded();
    EXPECT_TRUE(rig.TakeCommands().empty());
    EXPECT_EQ(rig.Title(), "KORVADEX / v2.00 : 2 回目") << "the run on screen";
}

// A fault at the next start or within a run ends the repetition with the
// fault's own texts.
TEST(Repeat, AFaultEndsTheRepetition)
{
    RepeatRig rig;
    rig.Press();
    rig.FinishRun();
    BoardFaults refuse;
    refuse.NgToAll = true;
    rig.board.SetFaults(refuse);
    rig.NextPass();

    EXPECT_EQ(rig.Panel(0), "KORVADEX Board がエラーです");
    EXPECT_EQ(rig.Panel(2), HundredRun) << "the last complete run stays";
    EXPECT_TRUE(rig.messages.Boxes.empty());
    rig.ExpectEnded();

    rig.board.SetFaults(BoardFaults());
    rig.Press();
    rig.FinishRun();
    rig.NextPass();
    ASSERT_TRUE(rig.probe.Running());
    rig.driver.FailQueueStatus = true;
    rig.NextPass();
    rig.driver.FailQueueStatus = false;

    EXPECT_EQ(rig.Panel(2), "計測エラーで終了");
    rig.ExpectEnded();
}

// The open analysis shows each complete run, and keeps it while the next
// one runs.
TEST(Repeat, TheAnalysisFollowsEachCompleteRun)
{
    RepeatRig rig;
    rig.Repeat()->setChecked(false);
    rig.Press();
    rig.FinishRun();
    rig.Find<QAction>("NoiseAnalysis")->trigger();
    ASSERT_NE(rig.View(), nullptr);
    EXPECT_EQ(rig.ShownMean(), MidScale + 49);

    rig.Repeat()->setChecked(true);
    rig.Press();
    std::int32_t shown = MidScale + 49;
    for (std::uint32_t offset : {1000u, 2000u}) {
        rig.FinishRun();
        rig.CountFrom(MidScale + offset);
        rig.NextPass();
        ASSERT_TRUE(rig.probe.Running());
        EXPECT_EQ(rig.ShownMean(), shown) << "kept while the next run goes";
        rig.FinishRun();
        shown = static_cast<std::int32_t>(MidScale + offset + 49);
        EXPECT_EQ(rig.ShownMean(), shown);
    }
}

} // namespace
