#include "AnalysisCharts.h"

#include "ChartWords.h"
#include "ReportPage.h"

#include <QPainter>

namespace {

constexpr double Margin = 8.0;
// The share of the height each channel's row takes; the density gets the rest.
constexpr double OneChannelRow = 0.42;
constexpr double TwoChannelRow = 0.3;
// The charts' fonts are sized for a printed page; on a screen they are drawn
// this much larger.
constexpr double ScreenScale = 1.4;

} // namespace

AnalysisCharts::AnalysisCharts(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("AnalysisCharts"));
    setMinimumSize(480, 360);
}

void AnalysisCharts::Show(const RunAnalysis* analysis, const ChannelData* ch0, const ChannelData* ch1)
{
    analysis_ = analysis;
    ch0_ = ch0;
    ch1_ = ch1;
    update();
}

void AnalysisCharts::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    if (!analysis_)
        return;
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(ScreenScale, ScreenScale);
    const QRectF area = QRectF(QPointF(0.0, 0.0), QSizeF(size()) / ScreenScale).adjusted(Margin, Margin, -Margin, -Margin);
    const double row = area.height() * (analysis_->Channels.size() > 1 ? TwoChannelRow : OneChannelRow);
    ReportPage::PaintCharts(painter, area, row, *analysis_, *ch0_, *ch1_, ChartWords::Window());
}
