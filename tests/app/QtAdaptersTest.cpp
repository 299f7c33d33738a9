#include "QtAxisLabel.h"
#include "QtDialogs.h"
#include "QtPaintBox.h"
#include "QtStatusBar.h"

#include <QApplication>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(QtNameFilters, DescriptionThatShowsItsPatternIsKeptAsItIs)
{
    EXPECT_EQ(QtNameFilters("Data files (*.DTA)|*.DTA"), QStringList({"Data files (*.DTA)"}));
    EXPECT_EQ(QtNameFilters("データファイル (*.DTA)|*.DTA"), QStringList({"データファイル (*.DTA)"}));
}

TEST(QtNameFilters, PatternIsAddedWhenTheDescriptionLacksItAndAnUnpairedPartIsDropped)
{
    EXPECT_EQ(QtNameFilters("Data|*.DTA|Text|*.txt|odd"), QStringList({"Data (*.DTA)", "Text (*.txt)"}));
    EXPECT_TRUE(QtNameFilters("").isEmpty());
}

TEST(QtStatusBar, PanelsTakeTheirTextsAndWidthsAndIgnoreOtherIndexes)
{
    QWidget window;
    QtStatusBar bar(&window, "StatusBar1", QRect(0, 433, 760, 25));
    bar.SetText(1, "計測中です");
    bar.SetWidth(1, 105);
    bar.SetText(3, "none");
    bar.SetWidth(-1, 300);
    EXPECT_EQ(bar.PanelText(1), "計測中です");
    EXPECT_EQ(bar.PanelWidth(1), 105);
    EXPECT_EQ(bar.PanelWidth(0), 50);
    EXPECT_EQ(bar.PanelText(3), "");
    EXPECT_EQ(bar.TextWidth("計測中です"), bar.fontMetrics().horizontalAdvance("計測中です"));
    EXPECT_GT(bar.TextWidth("計測中です"), bar.TextWidth("計測"));
}

TEST(QtStatusBar, PanelsStandSideBySideFromTheLeftAtTheWidthsSet)
{
    QWidget window;
    QtStatusBar bar(&window, "StatusBar1", QRect(0, 433, 760, 25));
    window.show();
    bar.SetWidth(0, 105);
    bar.SetWidth(1, 160);
    bar.SetWidth(2, 342);
    bar.setGeometry(0, 438, 760, 20); // as the window lays it out
    QApplication::processEvents();
    std::vector<QRect> panels;
    for (const QLabel* panel : bar.findChildren<QLabel*>(Qt::FindDirectChildrenOnly))
        panels.push_back(panel->geometry());
    EXPECT_EQ(panels, (std::vector<QRect>{{0, 0, 105, 20}, {105, 0, 160, 20}, {265, 0, 342, 20}}));
}

TEST(QtStatusBar, ClickOnAPanelOrTheBarIsReported)
{
    QWidget window;
    QtStatusBar bar(&window, "StatusBar1", QRect(0, 0, 760, 20));
    window.show();
    QSignalSpy clicks(&bar, &QtStatusBar::Clicked);
    QTest::mouseClick(bar.findChildren<QLabel*>().value(2), Qt::LeftButton);
    QTest::mouseClick(&bar, Qt::LeftButton, {}, QPoint(700, 10));
    EXPECT_EQ(clicks.count(), 2);
}

TEST(QtPaintBox, ShowsTheSourcePixelsOneToOneAtTheTargetAndKeepsThem)
{
    QWidget window;
    QtPaintBox box(&window, "PaintBox1", QRect(72, 24, 6, 5));
    EXPECT_EQ(box.Left(), 72);
    EXPECT_EQ(box.Top(), 24);
    // A 4 x 3 bitmap, stride 5, each pixel numbered.
    std::vector<std::uint32_t> bitmap(5 * 3);
    for (std::size_t i = 0; i < bitmap.size(); ++i)
        bitmap[i] = 0xFF000000u | static_cast<std::uint32_t>(i);
    box.ShowPixels(bitmap.data(), 4, 3, 5, PixelRect{1, 1, 5, 4}, PixelRect{0, 0, 4, 3});

    const QImage& picture = box.Picture();
    EXPECT_EQ(picture.size(), QSize(6, 5));
    EXPECT_EQ(picture.pixel(1, 1), 0xFF000000u);
    EXPECT_EQ(picture.pixel(4, 1), 0xFF000003u);
    EXPECT_EQ(picture.pixel(1, 3), 0xFF00000Au) << "the stride, not the width, separates the rows";
    EXPECT_EQ(picture.pixel(4, 3), 0xFF00000Du);
    for (const QPoint ring : {QPoint(0, 0), QPoint(5, 4), QPoint(5, 1), QPoint(1, 4)})
        EXPECT_EQ(picture.pixel(ring), 0u) << ring.x() << "," << ring.y();

    box.resize(6, 5); // the same size: the picture stays
    EXPECT_EQ(box.Picture().pixel(4, 3), 0xFF00000Du);
}

TEST(QtAxisLabel, SizesItselfToEachCaptionFromItsTopLeftCorner)
{
    QWidget window;
    QtAxisLabel label(&window, "Label1", QRect(16, 23, 42, 12), "8388608");
    label.SetCaption("12uV");
    const int shortWidth = label.Width();
    label.SetCaption("-11.92345uV");
    EXPECT_GT(label.Width(), shortWidth);
    EXPECT_EQ(label.Width(), label.sizeHint().width());
    EXPECT_EQ(label.Height(), label.sizeHint().height());
    EXPECT_EQ(label.Left(), 16);
    EXPECT_EQ(label.Top(), 23);
    label.SetLeft(5);
    label.SetTop(7);
    EXPECT_EQ(label.pos(), QPoint(5, 7));
    EXPECT_EQ(label.Caption(), "-11.92345uV");
}

} // namespace
