#include "TraceChart.h"

#include "AxisTicks.h"
#include "ChartFrame.h"
#include "ChartWords.h"

#include <QPainter>
#include <QPolygonF>

#include <algorithm>

namespace {

// Columns per page unit: the PNG is drawn at twice the page's size.
constexpr double ColumnsPerUnit = 2.0;

struct Range {
    double Low;
    double High;
    double Fraction(double value) const { return (value - Low) / (High - Low); }
};

Range ValueRange(const ChannelData& data)
{
    const auto [low, high] = std::minmax_element(data.Microvolts, data.Microvolts + data.Count);
    const double margin = *high > *low ? 0.05 * (*high - *low) : 1.0;
    return {*low - margin, *high + margin};
}

void DrawAxes(ChartFrame& frame, const Range& values, double seconds)
{
    const std::vector<double> yTicks = AxisTicks::Linear(values.Low, values.High, 4);
    for (const double tick : yTicks)
        frame.YTick(values.Fraction(tick), QString::number(tick, 'f', AxisTicks::Decimals(yTicks)));
    const std::vector<double> xTicks = AxisTicks::Linear(0.0, seconds, 5);
    for (const double tick : xTicks)
        frame.XTick(tick / seconds, QString::number(tick, 'f', AxisTicks::Decimals(xTicks)));
}

// Each column's lowest and highest sample as one upright stroke, joined.
QPolygonF Envelope(const ChartFrame& frame, const ChannelData& data, const Range& values, int columns)
{
    QPolygonF line;
    for (int c = 0; c < columns; ++c) {
        const std::int64_t first = static_cast<std::int64_t>(c) * data.Count / columns;
        const std::int64_t last = std::max(first + 1, static_cast<std::int64_t>(c + 1) * data.Count / columns);
        const auto [low, high] = std::minmax_element(data.Microvolts + first, data.Microvolts + last);
        const double x = (c + 0.5) / columns;
        line << frame.At(x, values.Fraction(*low)) << frame.At(x, values.Fraction(*high));
    }
    return line;
}

QPolygonF Samples(const ChartFrame& frame, const ChannelData& data, const Range& values)
{
    QPolygonF line;
    const double last = std::max(1, data.Count - 1);
    for (std::int32_t i = 0; i < data.Count; ++i)
        line << frame.At(i / last, values.Fraction(data.Microvolts[i]));
    return line;
}

} // namespace

void TraceChart::Paint(QPainter& painter, const QRectF& area, const QString& title, const ChannelData& data,
                       double sampleRate, const QColor& colour, const ChartWords& words)
{
    ChartFrame frame(painter, area, title, words.Time, QStringLiteral("µV"));
    if (data.Count == 0)
        return;
    const Range values = ValueRange(data);
    DrawAxes(frame, values, data.Count / sampleRate);
    const int columns = static_cast<int>(frame.Plot().width() * ColumnsPerUnit);
    painter.save();
    painter.setClipRect(frame.Plot());
    painter.setPen(QPen(colour, 0.5));
    painter.drawPolyline(data.Count > columns ? Envelope(frame, data, values, columns) : Samples(frame, data, values));
    painter.restore();
}
