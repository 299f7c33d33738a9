#include "HistogramChart.h"

#include "AxisTicks.h"
#include "ChartFrame.h"
#include "ChartWords.h"
#include "CodeHistogram.h"

#include <QPainter>
#include <QPolygonF>

#include <algorithm>

namespace {

constexpr int CurvePoints = 200;

struct Axes {
    double Left;   // code at the left edge
    double Width;  // codes across
    double Top;    // count at the top
    double X(double code) const { return (code - Left) / Width; }
    double Y(double count) const { return count / Top; }
};

Axes AxesOf(const CodeHistogram& histogram)
{
    const double left = histogram.FirstCode - 0.5;
    const double width = static_cast<double>(histogram.Counts.size()) * histogram.BinCodes;
    const double highest = *std::max_element(histogram.Counts.begin(), histogram.Counts.end());
    const double peak = histogram.GaussianHeight(histogram.Mean);
    return {left, width, 1.1 * std::max(highest, peak)};
}

void DrawTicks(ChartFrame& frame, const Axes& axes)
{
    for (const double tick : AxisTicks::Linear(axes.Left, axes.Left + axes.Width, 3))
        frame.XTick(axes.X(tick), QString::number(tick, 'f', 0));
    for (const double tick : AxisTicks::Linear(0.0, axes.Top, 4))
        frame.YTick(axes.Y(tick), QString::number(tick, 'f', 0));
}

QPolygonF Gaussian(const ChartFrame& frame, const CodeHistogram& histogram, const Axes& axes)
{
    QPolygonF curve;
    for (int i = 0; i <= CurvePoints; ++i) {
        const double code = axes.Left + axes.Width * i / CurvePoints;
        curve << frame.At(axes.X(code), axes.Y(histogram.GaussianHeight(code)));
    }
    return curve;
}

} // namespace

void HistogramChart::Paint(QPainter& painter, const QRectF& area, const QString& title,
                           const CodeHistogram& histogram, const QColor& colour, const ChartWords& words)
{
    ChartFrame frame(painter, area, title, words.Code, words.Samples);
    if (histogram.Counts.empty())
        return;
    const Axes axes = AxesOf(histogram);
    DrawTicks(frame, axes);
    painter.save();
    painter.setClipRect(frame.Plot());
    QColor fill = colour;
    fill.setAlpha(110);
    painter.setPen(QPen(colour, 0.4));
    painter.setBrush(fill);
    for (std::size_t b = 0; b < histogram.Counts.size(); ++b) {
        const double left = axes.Left + static_cast<double>(b) * histogram.BinCodes;
        painter.drawRect(QRectF(frame.At(axes.X(left), axes.Y(histogram.Counts[b])),
                                frame.At(axes.X(left + histogram.BinCodes), 0.0)));
    }
    if (histogram.Sigma > 0.0) {
        painter.setPen(QPen(Qt::black, 0.8));
        painter.drawPolyline(Gaussian(frame, histogram, axes));
    }
    painter.restore();
}
