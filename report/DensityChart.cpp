#include "DensityChart.h"

#include "AxisTicks.h"
#include "ChartFrame.h"
#include "ChartWords.h"

#include <QPainter>
#include <QPolygonF>

#include <algorithm>
#include <cmath>

namespace {

constexpr std::size_t FirstBin = 1;
const QColor MainsColour(120, 120, 120);

// A logarithmic axis over whole decades.
struct LogAxis {
    int First;
    int Last;
    double Fraction(double value) const { return (std::log10(value) - First) / (Last - First); }
};

LogAxis Span(double low, double high)
{
    const std::vector<int> decades = AxisTicks::Decades(low, high);
    return {decades.front(), decades.back()};
}

QString DecadeCaption(int decade)
{
    if (decade >= 3)
        return QStringLiteral("%1k").arg(std::pow(10.0, decade - 3), 0, 'f', 0);
    if (decade >= -3)
        return QString::number(std::pow(10.0, decade), 'f', std::max(0, -decade));
    return QStringLiteral("1e%1").arg(decade);
}

void DensityRange(const std::vector<DensityChart::Trace>& traces, double& low, double& high)
{
    low = HUGE_VAL;
    high = 0.0;
    for (const DensityChart::Trace& trace : traces) {
        for (std::size_t k = FirstBin; k < trace.Spectrum->Density.size(); ++k) {
            const double density = trace.Spectrum->Density[k];
            if (density > 0.0) {
                low = std::min(low, density);
                high = std::max(high, density);
            }
        }
    }
    if (!(high > 0.0))
        low = high = 1.0;
}

struct Axes {
    LogAxis X;
    LogAxis Y;
};

Axes AxesOf(const std::vector<DensityChart::Trace>& traces)
{
    double lowest = HUGE_VAL;
    double highest = 0.0;
    for (const DensityChart::Trace& trace : traces) {
        lowest = std::min(lowest, trace.Spectrum->BinHz);
        highest = std::max(highest, trace.Spectrum->SampleRate / 2.0);
    }
    double low = 0.0;
    double high = 0.0;
    DensityRange(traces, low, high);
    return {Span(lowest, highest), Span(low, high)};
}

void DrawTicks(ChartFrame& frame, const Axes& axes)
{
    for (int decade = axes.X.First; decade <= axes.X.Last; ++decade)
        frame.XTick(axes.X.Fraction(std::pow(10.0, decade)), DecadeCaption(decade));
    for (int decade = axes.Y.First; decade <= axes.Y.Last; ++decade)
        frame.YTick(axes.Y.Fraction(std::pow(10.0, decade)), DecadeCaption(decade));
}

QPointF PointOf(const ChartFrame& frame, const Axes& axes, double hertz, double density)
{
    return frame.At(axes.X.Fraction(hertz), axes.Y.Fraction(std::max(density, std::pow(10.0, axes.Y.First))));
}

void DrawDensity(QPainter& painter, const ChartFrame& frame, const Axes& axes, const DensityChart::Trace& trace)
{
    const NoiseDensity& spectrum = *trace.Spectrum;
    QPolygonF line;
    for (std::size_t k = FirstBin; k < spectrum.Density.size(); ++k)
        line << PointOf(frame, axes, spectrum.FrequencyOf(k), spectrum.Density[k]);
    painter.setPen(QPen(trace.Colour, 0.5));
    painter.drawPolyline(line);
}

void DrawSpurs(QPainter& painter, const ChartFrame& frame, const Axes& axes, const DensityChart::Trace& trace)
{
    const NoiseDensity& spectrum = *trace.Spectrum;
    for (const Spur& spur : *trace.Spurs) {
        const std::size_t bin = std::min(spectrum.Density.size() - 1,
                                         static_cast<std::size_t>(std::lround(spur.FrequencyHz / spectrum.BinHz)));
        const QPointF peak = PointOf(frame, axes, spur.FrequencyHz, spectrum.Density[bin]);
        painter.setPen(QPen(trace.Colour, 0.7));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(peak, 2.5, 2.5);
        if (spur.MainsHz == 0)
            continue;
        const double x = axes.X.Fraction(spur.FrequencyHz);
        painter.setPen(QPen(MainsColour, 0.6, Qt::DashLine));
        painter.drawLine(frame.At(x, 0.0), frame.At(x, 1.0));
        painter.setFont(ChartFrame::Font(7));
        painter.drawText(frame.At(x, 1.0) + QPointF(2.0, 8.0), DensityChart::MainsName(spur));
    }
}

} // namespace

QString DensityChart::MainsName(const Spur& spur)
{
    const QString mains = QStringLiteral("%1 Hz").arg(spur.MainsHz);
    return spur.Harmonic == 1 ? mains : QStringLiteral("%1×").arg(spur.Harmonic) + mains;
}

void DensityChart::Paint(QPainter& painter, const QRectF& area, const std::vector<Trace>& traces,
                          const QStringList& notes, const ChartWords& words)
{
    ChartFrame frame(painter, area, words.DensityTitle, words.Frequency, QStringLiteral("µV/√Hz"));
    if (!notes.isEmpty())
        frame.Note(notes.join(QLatin1Char('\n')));
    if (traces.empty())
        return;
    const Axes axes = AxesOf(traces);
    DrawTicks(frame, axes);
    painter.save();
    painter.setClipRect(frame.Plot().adjusted(-3.0, -3.0, 3.0, 3.0));
    for (const Trace& trace : traces)
        DrawDensity(painter, frame, axes, trace);
    for (const Trace& trace : traces)
        DrawSpurs(painter, frame, axes, trace);
    painter.restore();
}
