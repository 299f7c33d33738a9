#include "TraceChart.h"

#include "AxisTicks.h"
#include "ChartFrame.h"
#include "ChartWords.h"
#include "ColumnExtremes.h"

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

Range WithMargin(double low, double high)
{
    const double margin = high > low ? 0.05 * (high - low) : 1.0;
    return {low - margin, high + margin};
}

Range ValueRange(const ChannelData& data)
{
    const auto [low, high] = std::minmax_element(data.Microvolts, data.Microvolts + data.Count);
    return WithMargin(*low, *high);
}

Range ValueRange(const ColumnExtremes& trace)
{
    float low = 0.0f;
    float high = 0.0f;
    bool any = false;
    for (int c = 0; c < trace.Columns(); ++c) {
        if (!trace.Filled(c))
            continue;
        low = any ? std::min(low, trace.Low(c)) : trace.Low(c);
        high = any ? std::max(high, trace.High(c)) : trace.High(c);
        any = true;
    }
    return WithMargin(low, high);
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
QPolygonF Envelope(const ChartFrame& frame, const ColumnExtremes& columns, const Range& values)
{
    QPolygonF line;
    for (int c = 0; c < columns.Columns(); ++c) {
        if (!columns.Filled(c))
            continue;
        const double x = (c + 0.5) / columns.Columns();
        line << frame.At(x, values.Fraction(columns.Low(c))) << frame.At(x, values.Fraction(columns.High(c)));
    }
    return line;
}

// The log's columns folded onto the plot's: their lows and highs, taken as
// samples in order, fall on the pixel column their column lies on. A whole
// log fills every column.
ColumnExtremes Folded(const ColumnExtremes& trace, int columns)
{
    std::vector<float> lows;
    std::vector<float> highs;
    for (int c = 0; c < trace.Columns(); ++c) {
        lows.push_back(trace.Low(c));
        highs.push_back(trace.High(c));
    }
    ColumnExtremes folded(trace.Columns(), columns);
    folded.Add(lows.data(), 0, trace.Columns());
    folded.Add(highs.data(), 0, trace.Columns());
    return folded;
}

int PlotColumns(const ChartFrame& frame)
{
    return static_cast<int>(frame.Plot().width() * ColumnsPerUnit);
}

void DrawLine(QPainter& painter, const ChartFrame& frame, const QColor& colour, const QPolygonF& line)
{
    painter.save();
    painter.setClipRect(frame.Plot());
    painter.setPen(QPen(colour, 0.5));
    painter.drawPolyline(line);
    painter.restore();
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
    const int columns = PlotColumns(frame);
    if (data.Count <= columns) {
        DrawLine(painter, frame, colour, Samples(frame, data, values));
        return;
    }
    ColumnExtremes extremes(data.Count, columns);
    extremes.Add(data.Microvolts, 0, data.Count);
    DrawLine(painter, frame, colour, Envelope(frame, extremes, values));
}

void TraceChart::Paint(QPainter& painter, const QRectF& area, const QString& title, const ColumnExtremes& trace,
                       double sampleRate, const QColor& colour, const ChartWords& words)
{
    ChartFrame frame(painter, area, title, words.Time, QStringLiteral("µV"));
    if (trace.Columns() == 0)
        return;
    const Range values = ValueRange(trace);
    DrawAxes(frame, values, static_cast<double>(trace.Samples()) / sampleRate);
    DrawLine(painter, frame, colour, Envelope(frame, Folded(trace, PlotColumns(frame)), values));
}
