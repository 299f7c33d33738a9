#include "GraphView.h"
#include "Graph_2ch.h"
#include "LabelMetrics.h"
#include "RunData.h"

#include "TestApplication.h"

#include <QLabel>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>

namespace {

class LabelTest : public ::testing::Test {
protected:
    void SetUp() override { EnsureTestApplication(); }
};

// The window's labels are plain labels in a window whose font is the label
// font; they fit themselves to each caption.
TEST_F(LabelTest, CaptionsMeasureAsTheWindowsLabels)
{
    const LabelMetrics metrics;
    QWidget window;
    window.setFont(metrics.Font());
    QLabel label(QStringLiteral("8388608"), &window);
    for (const char* caption : {"8388608", "1", "100000", "-11.92", "1.4mV", "-0.6mV", "12uV", "0.00000", "-8uV"}) {
        label.setText(QString::fromLatin1(caption));
        label.adjustSize();
        EXPECT_EQ(metrics.CaptionSize(QString::fromLatin1(caption)), label.size()) << caption;
    }
}

// The graph places the labels from their sizes; with the window's paint box
// they stand where the window's do.
TEST_F(LabelTest, LabelsStandAtTheWindowsPlaces)
{
    const LabelMetrics metrics;
    const auto run = std::make_unique<RunData>();
    GraphView view(*run, &metrics);
    view.DrawAsLoaded(false);
    const auto labels = view.Labels();
    const int tops[] = {19, 56, 93, 130, 167, 204, 241, 278, 315, 352, 389};
    for (int i = 0; i < 11; ++i) {
        EXPECT_EQ(labels[static_cast<std::size_t>(i)]->Top(), tops[i]) << i;
        EXPECT_EQ(labels[static_cast<std::size_t>(i)]->Left(), 22) << i;
    }
    EXPECT_EQ(labels[11]->Top(), 404);
    EXPECT_EQ(labels[11]->Left(), 72);
    EXPECT_EQ(labels[12]->Left() + labels[12]->Width(), 598);
    EXPECT_GT(labels[12]->Width(), 0);
}

// The widest code captions a run can bring end before the plot, in the
// same narrowed font as the window's.
TEST_F(LabelTest, CodeCaptionsEndBeforeThePlot)
{
    const LabelMetrics metrics;
    for (const char* caption : {"8388608", "19000000", "-1000000"})
        EXPECT_LE(metrics.CaptionSize(QString::fromLatin1(caption)).width(), TGraph_2CH::CodeCaptionRoom) << caption;
}

} // namespace
