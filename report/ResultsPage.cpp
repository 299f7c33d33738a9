#include "ResultsPage.h"

#include "ChartFrame.h"
#include "ControlChart.h"
#include "ValueHistogram.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

constexpr double Margin = 36.0;
constexpr double HeadingHeight = 40.0;
constexpr double LineHeight = 14.0;
constexpr double ChartShare = 0.64;  // of the width, for the control chart

QString Number(double value)
{
    return QString::number(value, 'g', 6);
}

double Sigma(const FigureHistory& history)
{
    if (history.Values.size() < 2)
        return 0.0;
    const double mean = history.Mean();
    double squares = 0.0;
    for (const double value : history.Values)
        squares += (value - mean) * (value - mean);
    return std::sqrt(squares / static_cast<double>(history.Values.size() - 1));
}

QString Limits(const FigureHistory& history)
{
    if (!history.Low && !history.High)
        return QStringLiteral("no limits");
    return QStringLiteral("limits %1 … %2")
        .arg(history.Low ? Number(*history.Low) : QStringLiteral("—"), history.High ? Number(*history.High) : QStringLiteral("—"));
}

QString Summary(const FigureHistory& history)
{
    return QStringLiteral("%1   ·   n = %2   ·   mean %3 %4   ·   σ %5 %4   ·   %6")
        .arg(history.Plan)
        .arg(history.Values.size())
        .arg(Number(history.Mean()), history.Unit, Number(Sigma(history)), Limits(history));
}

void PaintFigure(QPainter& painter, const QRectF& area, const FigureHistory& history)
{
    painter.setPen(Qt::black);
    painter.setFont(ChartFrame::Font(8));
    painter.drawText(QRectF(area.left(), area.top(), area.width(), LineHeight), Qt::AlignLeft | Qt::AlignVCenter,
                     Summary(history));
    const double top = area.top() + LineHeight;
    const double chartWidth = area.width() * ChartShare;
    ControlChart::Paint(painter, QRectF(area.left(), top, chartWidth, area.height() - LineHeight), history);
    ValueHistogram::Paint(painter, QRectF(area.left() + chartWidth, top, area.width() - chartWidth, area.height() - LineHeight),
                          history);
}

} // namespace

void ResultsPage::Paint(QPainter& painter, const QString& heading, const std::vector<FigureHistory>& histories,
                        std::size_t first, int page, int pages)
{
    painter.fillRect(QRectF(QPointF(0.0, 0.0), Size), Qt::white);
    const double width = Size.width() - 2.0 * Margin;
    painter.setPen(Qt::black);
    painter.setFont(ChartFrame::Font(13, true));
    painter.drawText(QRectF(Margin, Margin, width, 16.0), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Test results"));
    painter.setFont(ChartFrame::Font(9));
    painter.drawText(QRectF(Margin, Margin + 18.0, width, LineHeight), Qt::AlignLeft | Qt::AlignVCenter, heading);
    painter.drawText(QRectF(Margin, Margin + 18.0, width, LineHeight), Qt::AlignRight | Qt::AlignVCenter,
                     QStringLiteral("page %1 of %2").arg(page).arg(pages));
    const double rowHeight = (Size.height() - 2.0 * Margin - HeadingHeight) / FiguresAPage;
    const std::size_t last = std::min(histories.size(), first + FiguresAPage);
    for (std::size_t i = first; i < last; ++i) {
        const double top = Margin + HeadingHeight + static_cast<double>(i - first) * rowHeight;
        PaintFigure(painter, QRectF(Margin, top, width, rowHeight - 8.0), histories[i]);
    }
}
