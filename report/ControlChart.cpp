#include "ControlChart.h"

#include "AxisTicks.h"
#include "ChartFrame.h"

#include <QDateTime>
#include <QPainter>
#include <QPolygonF>

#include <algorithm>
#include <cmath>

namespace {

constexpr std::int64_t HourMs = 3600000;
constexpr std::int64_t DayMs = 24 * HourMs;

struct Axes {
    std::int64_t FirstMs;
    double SpanMs;
    double Low;
    double High;
    double X(std::int64_t ms) const { return static_cast<double>(ms - FirstMs) / SpanMs; }
    double Y(double value) const { return (value - Low) / (High - Low); }
};

Axes AxesOf(const FigureHistory& history)
{
    const auto [first, last] = std::minmax_element(history.StartMs.begin(), history.StartMs.end());
    // A single moment is shown in the middle of an hour.
    const std::int64_t from = *last > *first ? *first : *first - HourMs / 2;
    const std::int64_t to = *last > *first ? *last : *first + HourMs / 2;
    const auto [low, high] = history.Span();
    return {from, static_cast<double>(to - from), low, high};
}

// Ticks at round numbers of days, hours or minutes, as the span suits.
void DrawTimeTicks(ChartFrame& frame, const Axes& axes)
{
    const bool days = axes.SpanMs > 3.0 * DayMs;
    const bool hours = !days && axes.SpanMs > 3.0 * HourMs;
    const double unit = days ? DayMs : (hours ? HourMs : 60000.0);
    const QString format = days ? QStringLiteral("yyyy-MM-dd") : (hours ? QStringLiteral("MM-dd HH:mm") : QStringLiteral("HH:mm:ss"));
    // Round times of day: the ticks count units from 1970.
    const double first = static_cast<double>(axes.FirstMs) / unit;
    for (const double tick : AxisTicks::Linear(first, first + axes.SpanMs / unit, 4)) {
        const auto ms = static_cast<std::int64_t>(std::llround(tick * unit));
        frame.XTick(axes.X(ms), QDateTime::fromMSecsSinceEpoch(ms, Qt::UTC).toString(format));
    }
}

void DrawValueTicks(ChartFrame& frame, const Axes& axes)
{
    const std::vector<double> ticks = AxisTicks::Linear(axes.Low, axes.High, 4);
    const int decimals = AxisTicks::Decimals(ticks);
    for (const double tick : ticks)
        frame.YTick(axes.Y(tick), QString::number(tick, 'f', decimals));
}

void DrawLevel(QPainter& painter, const ChartFrame& frame, double y, const QPen& pen)
{
    painter.setPen(pen);
    painter.drawLine(frame.At(0.0, y), frame.At(1.0, y));
}

bool Outside(const FigureHistory& history, double value)
{
    return (history.Low && value < *history.Low) || (history.High && value > *history.High);
}

} // namespace

void ControlChart::Paint(QPainter& painter, const QRectF& area, const FigureHistory& history)
{
    ChartFrame frame(painter, area, QStringLiteral("%1 — %2").arg(history.Step, history.Figure),
                     QStringLiteral("test start (UTC)"), history.Unit);
    if (history.Values.empty()) {
        frame.Note(QStringLiteral("no finite values"));
        return;
    }
    const Axes axes = AxesOf(history);
    DrawTimeTicks(frame, axes);
    DrawValueTicks(frame, axes);
    painter.save();
    painter.setClipRect(frame.Plot());
    const QPen limitPen(QColor(200, 30, 30), 0.8, Qt::DashLine);
    for (const std::optional<double>& limit : {history.Low, history.High}) {
        if (limit)
            DrawLevel(painter, frame, axes.Y(*limit), limitPen);
    }
    DrawLevel(painter, frame, axes.Y(history.Mean()), QPen(Qt::gray, 0.6, Qt::DotLine));
    QPolygonF line;
    for (std::size_t i = 0; i < history.Values.size(); ++i)
        line << frame.At(axes.X(history.StartMs[i]), axes.Y(history.Values[i]));
    painter.setPen(QPen(QColor(40, 80, 160), 0.5));
    painter.drawPolyline(line);
    for (std::size_t i = 0; i < history.Values.size(); ++i) {
        const QColor colour = Outside(history, history.Values[i]) ? QColor(200, 30, 30) : QColor(40, 80, 160);
        painter.setPen(Qt::NoPen);
        painter.setBrush(colour);
        painter.drawEllipse(line[static_cast<int>(i)], 1.6, 1.6);
    }
    painter.restore();
}
