#include "ValueHistogram.h"

#include "AxisTicks.h"
#include "ChartFrame.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

int BarsFor(std::size_t values)
{
    return std::clamp(static_cast<int>(std::lround(std::sqrt(static_cast<double>(values)))), 5, 40);
}

std::vector<int> Counts(const FigureHistory& history, double low, double width, int bars)
{
    std::vector<int> counts(static_cast<std::size_t>(bars), 0);
    for (const double value : history.Values) {
        const int bar = std::clamp(static_cast<int>((value - low) / width), 0, bars - 1);
        ++counts[static_cast<std::size_t>(bar)];
    }
    return counts;
}

} // namespace

void ValueHistogram::Paint(QPainter& painter, const QRectF& area, const FigureHistory& history)
{
    ChartFrame frame(painter, area, QStringLiteral("histogram"), history.Unit, QStringLiteral("count"));
    if (history.Values.empty())
        return;
    const auto [low, high] = history.Span();
    const int bars = BarsFor(history.Values.size());
    const double width = (high - low) / bars;
    const std::vector<int> counts = Counts(history, low, width, bars);
    const double top = 1.1 * *std::max_element(counts.begin(), counts.end());
    const std::vector<double> ticks = AxisTicks::Linear(low, high, 3);
    for (const double tick : ticks)
        frame.XTick((tick - low) / (high - low), QString::number(tick, 'f', AxisTicks::Decimals(ticks)));
    for (const double tick : AxisTicks::Linear(0.0, top, 3)) {
        if (tick == std::floor(tick))
            frame.YTick(tick / top, QString::number(tick, 'f', 0));
    }
    painter.save();
    painter.setClipRect(frame.Plot());
    painter.setPen(QPen(QColor(40, 80, 160), 0.4));
    painter.setBrush(QColor(40, 80, 160, 110));
    for (int b = 0; b < bars; ++b) {
        painter.drawRect(QRectF(frame.At(static_cast<double>(b) / bars, counts[static_cast<std::size_t>(b)] / top),
                                frame.At(static_cast<double>(b + 1) / bars, 0.0)));
    }
    painter.setPen(QPen(QColor(200, 30, 30), 0.8, Qt::DashLine));
    for (const std::optional<double>& limit : {history.Low, history.High}) {
        if (limit) {
            const double x = (*limit - low) / (high - low);
            painter.drawLine(frame.At(x, 0.0), frame.At(x, 1.0));
        }
    }
    painter.restore();
}
