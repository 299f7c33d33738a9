#include "AnalysisWindow.h"
#include "WindowPlacement.h"
#include "WindowRig.h"

#include "FormMainProbe.h"

#include <QAction>
#include <QScreen>

namespace {

struct Beside {
    const char* name;
    QRect available;
    QRect owner;
    QRect expected;
};

// The main window's frame as centring leaves it, and the analysis window's
// 900 x 760.
constexpr int OwnerWidth = 760;
constexpr int OwnerHeight = 504;
const QSize Analysis(900, 760);

QRect Centred(const QRect& available)
{
    return QRect(CentreInside(QSize(OwnerWidth, OwnerHeight), available), QSize(OwnerWidth, OwnerHeight));
}

class PlaceBesideTest : public testing::TestWithParam<Beside> {};

TEST_P(PlaceBesideTest, StaysInsideTheAvailableArea)
{
    const Beside& c = GetParam();
    const QRect frame = PlaceBeside(c.owner, Analysis, c.available);
    EXPECT_EQ(frame, c.expected);
    EXPECT_TRUE(c.available.contains(frame));
}

INSTANTIATE_TEST_SUITE_P(
    WindowPlacement, PlaceBesideTest,
    testing::Values(
        // 1920 x 1080: a centred window leaves 580 pixels either side, so
        // the analysis overlaps it, ending on the area's right edge.
        Beside{"FullHdCentred", QRect(0, 0, 1920, 1080), Centred(QRect(0, 0, 1920, 1080)),
               QRect(1020, 288, 900, 760)},
        // The owner moved to the right edge: the left side has room.
        Beside{"FullHdLeft", QRect(0, 0, 1920, 1080), QRect(1100, 100, OwnerWidth, OwnerHeight),
               QRect(192, 100, 900, 760)},
        // Low on the left: beside it on the right, raised to end on the lower edge.
        Beside{"FullHdLow", QRect(0, 0, 1920, 1080), QRect(100, 600, OwnerWidth, OwnerHeight),
               QRect(868, 320, 900, 760)},
        // 1024 x 768: no room either side, so over the owner from the right
        // edge, raised to end on the lower edge.
        Beside{"Xga", QRect(0, 0, 1024, 768), Centred(QRect(0, 0, 1024, 768)), QRect(124, 8, 900, 760)},
        // A panel on top and one on the left of a 1024 x 768 desktop: cut to
        // the area's height.
        Beside{"XgaWithPanels", QRect(60, 28, 964, 740), QRect(200, 100, OwnerWidth, OwnerHeight),
               QRect(124, 28, 900, 740)}),
    [](const testing::TestParamInfo<Beside>& info) { return std::string(info.param.name); });

TEST(WindowPlacement, CentringKeepsAFittingFrameInsideTheArea)
{
    const QRect available(60, 28, 964, 740);
    const QPoint corner = CentreInside(QSize(OwnerWidth, OwnerHeight), available);
    EXPECT_EQ(corner, QPoint(60 + 102, 28 + 118));
    EXPECT_TRUE(available.contains(QRect(corner, QSize(OwnerWidth, OwnerHeight))));
    EXPECT_EQ(CentreInside(QSize(1001, 800), QRect(0, 0, 800, 600)), QPoint(-100, -100)) << "truncated toward zero";
}

// The analysis window as the main window opens it, on the test platform's
// screen, which is smaller than the two side by side.
TEST(WindowPlacement, TheAnalysisWindowOpensInsideTheScreen)
{
    WindowRig rig;
    FormMainProbe probe(*rig.window);
    probe.EndRunWith(0, std::vector<std::int32_t>(200, 8388608), {});
    rig.window->show();
    rig.Find<QAction>("NoiseAnalysis")->trigger();
    const auto* view = rig.window->findChild<AnalysisWindow*>(QStringLiteral("AnalysisWindow"));
    ASSERT_NE(view, nullptr);
    const QRect available = rig.window->screen()->availableGeometry();
    EXPECT_LT(available.width(), rig.window->frameGeometry().width() + 8 + 900) << "no room beside";
    EXPECT_TRUE(available.contains(view->frameGeometry()))
        << view->frameGeometry().x() << "," << view->frameGeometry().y() << " " << view->frameGeometry().width()
        << "x" << view->frameGeometry().height();
    EXPECT_TRUE(available.contains(rig.window->frameGeometry()));
}

} // namespace
