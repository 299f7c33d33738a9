// The window among several FTDI devices: the operator chooses the board once,
// the link opens that one, and the file menu changes it between runs.

#include "FormMainProbe.h"
#include "TestDoubles.h"

#include "KORVADEX_Main.h"
#include "ManualClock.h"
#include "QtStatusBar.h"
#include "VirtualDevices.h"

#include <QAction>
#include <QComboBox>
#include <QMenu>
#include <QPushButton>

#include <gtest/gtest.h>

#include <chrono>
#include <memory>

namespace {

using namespace std::chrono_literals;
using Kind = SimDevice::Kind;

const SimDevice Cable{"cable", Kind::SilentAdapter, false};
const SimDevice Board1{"KVX0001", Kind::Board, false};

// A window on the in-process device bus, its clock still unless moved.
struct ChooserRig {
    explicit ChooserRig(const std::vector<SimDevice>& attached)
        : devices(clock, attached, BoardConfig())
        , window(std::make_unique<TFormMain>(
              WindowServices{driver, messages, confirm, files, components, &boards}))
        , probe(*window)
    {
        // The shortest run: 100 samples at 125 ksps.
        window->findChild<QComboBox*>(QStringLiteral("ComboBox1"))->setCurrentIndex(16);
        window->findChild<QComboBox*>(QStringLiteral("ComboBox2"))->setCurrentIndex(0);
    }

    void Press() { window->findChild<QPushButton*>(QStringLiteral("MeasureBtn"))->click(); }
    QAction* ChooseItem() const { return window->findChild<QAction*>(QStringLiteral("ChooseBoard")); }
    QString Panel0() const { return window->findChild<QtStatusBar*>(QStringLiteral("StatusBar1"))->PanelText(0); }

    void RunToEnd()
    {
        clock.Advance(50ms);
        for (int pass = 0; pass < 10000 && probe.Running(); ++pass)
            probe.IdlePass();
    }

    ManualClock clock{100us};
    VirtualDevices devices;
    RecordingD2xx driver{devices, &clock};
    RecordingPresenter messages;
    ScriptedConfirm confirm;
    ScriptedFiles files;
    ComponentFactory components;
    ScriptedBoards boards;
    std::unique_ptr<TFormMain> window;
    FormMainProbe probe;
};

TEST(BoardChooser, AppearsOnlyAmongSeveralDevicesAndTheChosenBoardIsMeasured)
{
    struct Case {
        const char* Name;
        std::vector<SimDevice> Attached;
        std::vector<QStringList> Offered;
    };
    const Case cases[] = {
        {"one board", {Board1}, {}},
        {"a silent cable first", {Cable, Board1}, {{"cable", "KVX0001"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        ChooserRig rig(c.Attached);
        rig.boards.Answers = {QStringLiteral("KVX0001")};
        rig.Press();
        EXPECT_EQ(rig.Panel0(), "KORVADEX / V1.00");
        rig.RunToEnd();
        EXPECT_EQ(rig.probe.SamplesTaken(), 100);
        EXPECT_TRUE(rig.messages.Boxes.empty());
        // The choice holds: the next start asks nothing.
        rig.Press();
        EXPECT_TRUE(rig.probe.Running());
        EXPECT_EQ(rig.boards.Offered, c.Offered);
    }
}

TEST(BoardChooser, CancellingStartsNothing)
{
    ChooserRig rig({Cable, Board1});
    rig.Press();
    ASSERT_EQ(rig.boards.Offered.size(), 1u);
    EXPECT_FALSE(rig.probe.Running());
    EXPECT_TRUE(rig.driver.Commands.empty());
    EXPECT_TRUE(rig.messages.Boxes.empty());
    EXPECT_TRUE(rig.ChooseItem()->isEnabled());
    EXPECT_TRUE(rig.window->findChild<QMenu*>(QStringLiteral("File1"))->menuAction()->isEnabled());
    EXPECT_EQ(rig.window->findChild<QPushButton*>(QStringLiteral("MeasureBtn"))->text(), "測定開始");
    // Nothing was chosen, so the next start asks again.
    rig.Press();
    EXPECT_EQ(rig.boards.Offered.size(), 2u);
}

// The link a completed run left open is closed: the next start identifies
// the device chosen now, here a cable that stays silent.
TEST(BoardChooser, TheMenuItemChangesTheBoardBetweenRunsAndIsLockedDuringOne)
{
    ChooserRig rig({Cable, Board1});
    rig.boards.Answers = {QStringLiteral("KVX0001"), QStringLiteral("cable")};
    rig.Press();
    ASSERT_TRUE(rig.probe.Running());
    EXPECT_FALSE(rig.ChooseItem()->isEnabled());
    rig.ChooseItem()->trigger();
    EXPECT_EQ(rig.boards.Offered.size(), 1u);
    rig.RunToEnd();
    ASSERT_TRUE(rig.ChooseItem()->isEnabled());
    rig.ChooseItem()->trigger();
    EXPECT_EQ(rig.boards.Offered.size(), 2u);
    rig.driver.Commands.clear();
    rig.Press();
    EXPECT_FALSE(rig.probe.Running());
    EXPECT_EQ(rig.driver.Commands.front(), "?");
    ASSERT_EQ(rig.messages.Boxes.size(), 1u);
    EXPECT_EQ(rig.messages.Boxes[0].Text, "KORVADEX が応答しませんでした");
}

} // namespace
