// The window itself on the libftdi driver, the real libftdi1 and the
// emulated bridge: what an operator sees when the board is pulled out
// during a run, and the board chosen among several FTDI devices.
#include "FormMainProbe.h"
#include "KORVADEX_Main.h"
#include "QtStatusBar.h"
#include "SimTestUtil.h"
#include "TestDoubles.h"
#include "UsbEmulation.h"
#include "ftdi/FtdiD2xx.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QPushButton>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

constexpr int Rate125ksps = 16;
constexpr int Count100000 = 9;

struct BridgeWindow {
    explicit BridgeWindow(const UsbEmulationSetup& setup)
        : driver((UsbEmulation::Reset(setup), CreateFtdiD2xx()))
        , window(std::make_unique<TFormMain>(WindowServices{*driver, messages, confirm, files, components, &boards}))
        , probe(*window)
    {
        window->show();
    }

    void Press() { window->findChild<QPushButton*>(QStringLiteral("MeasureBtn"))->click(); }
    QString Panel(int panel) const { return window->findChild<QtStatusBar*>(QStringLiteral("StatusBar1"))->PanelText(panel); }

    // The event loop runs as the program's would, in real time.
    bool RunUntil(const std::function<bool()>& done, int limitMs = 30000)
    {
        QElapsedTimer elapsed;
        elapsed.start();
        while (!done() && elapsed.elapsed() < limitMs)
            QApplication::processEvents(QEventLoop::AllEvents, 10);
        return done();
    }

    std::unique_ptr<D2xx> driver;
    RecordingPresenter messages;
    ScriptedConfirm confirm;
    ScriptedFiles files;
    ComponentFactory components;
    ScriptedBoards boards;
    std::unique_ptr<TFormMain> window;
    FormMainProbe probe;
};

TEST(WindowOnEmulatedBridge, BoardPulledOutMidRunEndsWithTheReadErrorThenIsNotFound)
{
    UsbEmulationSetup setup;
    setup.Board = CounterBoard();
    setup.Usb.Faults.RemoveAfterBytes = 60000;
    BridgeWindow rig(setup);
    rig.window->findChild<QComboBox*>(QStringLiteral("ComboBox1"))->setCurrentIndex(Rate125ksps);
    rig.window->findChild<QComboBox*>(QStringLiteral("ComboBox2"))->setCurrentIndex(Count100000);

    rig.Press();
    ASSERT_TRUE(rig.RunUntil([&] { return !rig.probe.Running(); })) << "the run must end, not hang";
    EXPECT_EQ(rig.Panel(0), "KORVADEX / V1.00");
    EXPECT_EQ(rig.Panel(2), "計測エラーで終了");
    EXPECT_LT(rig.probe.SamplesTaken(), 100000);
    EXPECT_TRUE(rig.messages.Boxes.empty());

    // The next start finds the link dead, the one after it no board at all.
    rig.Press();
    EXPECT_EQ(rig.Panel(0), "KORVADEX Board がエラーです");
    EXPECT_EQ(UsbEmulation::State().OpenHandles, 0);
    rig.Press();
    EXPECT_EQ(rig.Panel(0), "KORVADEX Board が見つかりませんでした");
    ASSERT_EQ(rig.messages.Boxes.size(), 1u);
    EXPECT_EQ(rig.messages.Boxes[0].Text, "KORVADEX が見つかりませんでした");
}

// A silent USB-serial cable in the first port: the window asks which device
// is the board and measures the one chosen, found by its serial on the bus.
TEST(WindowOnEmulatedBridge, AmongSeveralDevicesTheChosenBoardIsMeasured)
{
    UsbEmulationSetup setup;
    setup.Board = CounterBoard();
    setup.Devices = std::vector<SimDevice>{{"cable", SimDevice::Kind::SilentAdapter}, {"KVX0002", SimDevice::Kind::Board}};
    BridgeWindow rig(setup);
    rig.boards.Answers = {QStringLiteral("KVX0002")};
    rig.window->findChild<QComboBox*>(QStringLiteral("ComboBox1"))->setCurrentIndex(Rate125ksps);
    rig.window->findChild<QComboBox*>(QStringLiteral("ComboBox2"))->setCurrentIndex(0);

    rig.Press();
    ASSERT_TRUE(rig.RunUntil([&] { return !rig.probe.Running(); })) << "the run must end, not hang";
    EXPECT_EQ(rig.boards.Offered, (std::vector<QStringList>{{"cable", "KVX0002"}}));
    EXPECT_EQ(rig.Panel(0), "KORVADEX / V1.00");
    EXPECT_EQ(rig.probe.SamplesTaken(), 100);
    EXPECT_TRUE(rig.messages.Boxes.empty());
}

}  // namespace
