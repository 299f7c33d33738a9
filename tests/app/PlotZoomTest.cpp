#include "MeasureRig.h"

#include "CodeScale.h"
#include "FormatReal.h"
#include "PlotReadout.h"
#include "QtPaintBox.h"

#include <QAction>
#include <QApplication>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>

#include <cmath>
#include <functional>

namespace {

using namespace std::chrono_literals;

constexpr std::int32_t MidScale = 8388608;
constexpr std::int32_t RunLength = 1000;

std::vector<std::int32_t> Ramp(std::int32_t from, std::int32_t step)
{
    std::vector<std::int32_t> codes;
    for (std::int32_t i = 0; i < RunLength; ++i)
        codes.push_back(from + i * step);
    return codes;
}

// The operator's hand on the paint box, in its own pixels.
struct PlotRig : MeasureRig {
    QtPaintBox& Plot() const { return *Find<QtPaintBox>("PaintBox1"); }

    void Wheel(QPoint at, int angle, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QWheelEvent event(at, Plot().mapToGlobal(at), QPoint(), QPoint(0, angle), Qt::NoButton, modifiers,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(&Plot(), &event);
    }

    void Mouse(QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
        QMouseEvent event(type, at, Plot().mapToGlobal(at), button, held, modifiers);
        QApplication::sendEvent(&Plot(), &event);
    }

    void Drag(QPoint from, QPoint to, Qt::MouseButton button, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        Mouse(QEvent::MouseButtonPress, from, button, modifiers);
        Mouse(QEvent::MouseMove, (from + to) / 2, Qt::NoButton, modifiers);
        Mouse(QEvent::MouseMove, to, Qt::NoButton, modifiers);
        Mouse(QEvent::MouseButtonRelease, to, button, modifiers);
    }

    void Hover(QPoint at) { Mouse(QEvent::MouseMove, at, Qt::NoButton); }

    void Leave()
    {
        QEvent event(QEvent::Leave);
        QApplication::sendEvent(&Plot(), &event);
    }

    void Key(Qt::Key key) { QTest::keyClick(&Plot(), key); }

    QStringList YCaptions() const
    {
        QStringList captions;
        for (int i = 1; i <= 11; ++i)
            captions << Label(QStringLiteral("Label%1").arg(i).toLatin1().constData());
        return captions;
    }

    std::pair<int, int> XAxis() const { return {Label("Label15").toInt(), Label("Label16").toInt()}; }

    std::int64_t YSpan() const
    {
        const QStringList captions = YCaptions();
        return captions.front().toLongLong() - captions.back().toLongLong();
    }

    QStringList Readout() const
    {
        QStringList lines;
        for (const PlotOverlay::Line& line : Plot().Overlay().Lines)
            lines << line.Text;
        return lines;
    }

    // A complete run of 100 samples at 125 ksps, rising a code a sample.
    void Run()
    {
        CountFrom(MidScale);
        Choose(16, 0, 0);
        Press();
        RunToEnd(2s);
        ASSERT_FALSE(probe.Running());
    }
};

// 1000 samples on 524 columns: a column is 1.9 samples, sample i lies at
// paint-box x = i * 524 / 999 + 2. The wheel zooms to 80 %.
TEST(PlotZoom, WheelBoxDragAndKeysChangeTheSampleAxis)
{
    struct Case {
        const char* Name;
        std::function<void(PlotRig&)> Act;
        int First;
        int Last;
    };
    const Case cases[] = {
        {"wheel around sample 500", [](PlotRig& rig) { rig.Wheel({264, 185}, 120); }, 101, 900},
        {"wheel out again", [](PlotRig& rig) { rig.Wheel({264, 185}, 120); rig.Wheel({264, 185}, -120); }, 1, 1000},
        {"right-button box over samples 198..400",
         [](PlotRig& rig) { rig.Drag({106, 50}, {211, 300}, Qt::RightButton); }, 199, 401},
        {"Ctrl + left box over samples 198..400",
         [](PlotRig& rig) { rig.Drag({106, 50}, {211, 300}, Qt::LeftButton, Qt::ControlModifier); }, 199, 401},
        {"a click is no box", [](PlotRig& rig) { rig.Drag({106, 50}, {107, 51}, Qt::RightButton); }, 1, 1000},
        {"wheel, then drag 52 pixels right: 79 samples back",
         [](PlotRig& rig) {
             rig.Wheel({264, 185}, 120);
             rig.Drag({300, 185}, {352, 185}, Qt::LeftButton);
         },
         22, 821},
        {"+, then the left arrow: a tenth of the box back",
         [](PlotRig& rig) {
             rig.Key(Qt::Key_Plus);
             rig.Key(Qt::Key_Left);
         },
         22, 821},
        {"+, then -", [](PlotRig& rig) { rig.Key(Qt::Key_Plus); rig.Key(Qt::Key_Minus); }, 1, 1000},
    };
    for (const Case& c : cases) {
        PlotRig rig;
        rig.probe.EndRunWith(ModeCh0, Ramp(MidScale, 1), {});
        c.Act(rig);
        const auto [first, last] = rig.XAxis();
        EXPECT_NEAR(first, c.First, 1) << c.Name;
        EXPECT_NEAR(last, c.Last, 1) << c.Name;
    }
}

// Codes MidScale .. MidScale + 999 get a span of 2000; half the range, 1000.
TEST(PlotZoom, ShiftWheelAndVerticalKeysChangeOnlyTheValueAxis)
{
    PlotRig rig;
    rig.probe.EndRunWith(ModeCh0, Ramp(MidScale, 1), {});
    ASSERT_EQ(rig.YSpan(), 2000);
    rig.Wheel({264, 185}, 120, Qt::ShiftModifier);
    EXPECT_EQ(rig.YSpan(), 1000);
    EXPECT_EQ(rig.XAxis(), std::make_pair(1, 1000));
    const QStringList zoomed = rig.YCaptions();
    rig.Key(Qt::Key_Up);
    EXPECT_EQ(rig.YCaptions().mid(1), zoomed.mid(0, 10)) << "one division higher";
    EXPECT_EQ(rig.XAxis(), std::make_pair(1, 1000));
}

TEST(PlotZoom, DoubleClickHomeAndFitAllReturnToTheAutoView)
{
    const std::function<void(PlotRig&)> ways[] = {
        [](PlotRig& rig) { rig.Mouse(QEvent::MouseButtonDblClick, {200, 200}, Qt::LeftButton); },
        [](PlotRig& rig) { rig.Key(Qt::Key_Home); },
        [](PlotRig& rig) { rig.Find<QAction>("MenuY_Fit")->trigger(); },
    };
    for (const auto& fit : ways) {
        PlotRig rig;
        rig.probe.EndRunWith(ModeCh0, Ramp(MidScale, 3), {});
        const QImage whole = rig.Plot().Picture();
        const QStringList captions = rig.YCaptions();
        rig.Wheel({100, 100}, 360);
        rig.Wheel({100, 100}, 120, Qt::ShiftModifier);
        ASSERT_NE(rig.YCaptions(), captions);
        fit(rig);
        EXPECT_EQ(rig.YCaptions(), captions);
        EXPECT_EQ(rig.XAxis(), std::make_pair(1, 1000));
        EXPECT_EQ(rig.Plot().Picture(), whole);
    }
    PlotRig rig;
    EXPECT_EQ(rig.Find<QAction>("MenuY_Fit")->text(), "全体表示");
}

// Sample i lies at x = i * 524 / 999 + 2; x = 300 is nearest sample 568.
TEST(PlotZoom, ReadoutShowsTheNearestSampleOfEachChannelUntilTheMouseLeaves)
{
    PlotRig rig;
    rig.probe.EndRunWith(ModeDual, Ramp(MidScale, 7), Ramp(MidScale + 5000, -11));
    const std::int32_t sample = 568;
    const std::int32_t ch0 = rig.probe.Codes(0)[sample];
    const std::int32_t ch1 = rig.probe.Codes(1)[sample];
    rig.Hover({300, 100});
    // 100 sps, pairs at 50 a second.
    EXPECT_EQ(rig.Readout(), QStringList({"サンプル 569", "時間 11.3600 s", QStringLiteral("CH0 : %1").arg(ch0),
                                          QStringLiteral("CH1 : %1").arg(ch1)}));
    EXPECT_NEAR(rig.Plot().Overlay().CursorX, 300, 1);

    rig.Find<QAction>("MenuY_Volt")->trigger();
    rig.Hover({300, 100});
    const auto microvolts = [](std::int32_t code) {
        return FormatReal(static_cast<float>(CodeScale::CodeToMicrovolts(code, 1)), "0.00");
    };
    EXPECT_EQ(rig.Readout().mid(2), QStringList({QStringLiteral("CH0 : %1 uV").arg(microvolts(ch0)),
                                                 QStringLiteral("CH1 : %1 uV").arg(microvolts(ch1))}));

    rig.Leave();
    EXPECT_TRUE(rig.Plot().Overlay().IsEmpty());
}

// A CH0 + CH1 run takes its pairs at half the converter's rate.
TEST(PlotZoom, ReadoutTimeIsTheSampleAtTheRunsRate)
{
    struct Case {
        int Rate;
        int Mode;
        std::int32_t Index;
        const char* Time;
    };
    for (const Case& c : {Case{0, ModeCh0, 0, "時間 0.000 ms"}, Case{16, ModeCh0, 1, "時間 0.008 ms"},
                          Case{16, ModeDual, 1, "時間 0.016 ms"}, Case{5, ModeCh1, 568, "時間 5.6800 s"},
                          Case{3, ModeCh0, 4996, "時間 100.0000 s"}}) {
        MeasureSettings settings;
        settings.spsSel = c.Rate;
        settings.CHSel = c.Mode;
        EXPECT_EQ(PlotReadout::Time(c.Index, settings), QString::fromUtf8(c.Time)) << c.Rate;
    }
}

// In volts the start shows the old run's axes as its auto view had them.
TEST(PlotZoom, RunStartReturnsToTheAutoViewAndTheRunTakesNoZoom)
{
    PlotRig rig;
    rig.Run();
    rig.Find<QAction>("MenuY_Volt")->trigger();
    const QStringList captions = rig.YCaptions();
    rig.Wheel({264, 185}, 240, Qt::ShiftModifier);
    ASSERT_NE(rig.YCaptions(), captions);

    rig.Choose(5, 3, 0);
    rig.Press();
    ASSERT_TRUE(rig.probe.Running());
    EXPECT_EQ(rig.YCaptions(), captions);
    rig.PassUntil([&] { return rig.probe.SamplesTaken() >= 300; }, 20ms);
    const std::pair<int, int> axis = rig.XAxis();
    rig.Wheel({264, 185}, 120);
    rig.Hover({300, 100});
    EXPECT_EQ(rig.XAxis(), axis);
    EXPECT_TRUE(rig.Plot().Overlay().IsEmpty());
}

TEST(PlotZoom, LoadReturnsToTheAutoView)
{
    PlotRig rig;
    rig.Run();
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("run.DTA"));
    rig.files.Paths << path;
    rig.Find<QAction>("Save1")->trigger();
    const QStringList captions = rig.YCaptions();
    rig.Wheel({264, 185}, 240);
    rig.Wheel({264, 185}, 240, Qt::ShiftModifier);
    ASSERT_NE(rig.XAxis(), std::make_pair(1, 100));

    rig.files.Paths << path;
    rig.Find<QAction>("Load1")->trigger();
    EXPECT_EQ(rig.Panel(1), "データファイル読み込みました");
    EXPECT_EQ(rig.YCaptions(), captions);
    EXPECT_EQ(rig.XAxis(), std::make_pair(1, 100));
}

TEST(PlotZoom, ClearShowsTheEmptyPlotWhichTakesNoZoom)
{
    PlotRig rig;
    rig.probe.EndRunWith(ModeCh0, Ramp(MidScale, 1), {});
    rig.Wheel({264, 185}, 240);
    rig.Hover({300, 100});
    ASSERT_FALSE(rig.Plot().Overlay().IsEmpty());
    rig.Find<QAction>("DataClear")->trigger();
    EXPECT_TRUE(rig.Plot().Overlay().IsEmpty());
    EXPECT_EQ(rig.YCaptions().front(), "8388608");
    EXPECT_EQ(rig.YCaptions().back(), "8388508");
    rig.Wheel({264, 185}, 240);
    rig.Drag({106, 50}, {211, 300}, Qt::RightButton);
    EXPECT_EQ(rig.XAxis(), std::make_pair(1, 1000));
    EXPECT_EQ(rig.YCaptions().front(), "8388608");
}

} // namespace
