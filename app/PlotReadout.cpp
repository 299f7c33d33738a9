#include "PlotReadout.h"

#include "FormatReal.h"
#include "Graph_2ch.h"
#include "MeasureItems.h"
#include "MeasureSettings.h"

namespace {

const QColor Black(0, 0, 0);
const QColor ChannelColours[] = {QColor(255, 0, 0), QColor(0, 0, 255)};

} // namespace

PlotOverlay PlotReadout::At(const TGraph_2CH& graph, const MeasureSettings& settings, bool volt, QPoint at)
{
    PlotOverlay overlay;
    // The bitmap lies one pixel inside the paint box.
    const std::int32_t index = graph.SampleAtColumn(at.x() - 1);
    for (int channel = 0; channel < 2; ++channel) {
        if (!graph.TraceHolds(channel, index))
            continue;
        const double value = graph.SampleValue(channel, index, volt);
        const QString text = volt ? QStringLiteral("CH%1 : %2 uV").arg(channel).arg(FormatReal(value, "0.00"))
                                  : QStringLiteral("CH%1 : %2").arg(channel).arg(static_cast<std::int32_t>(value));
        overlay.Lines.push_back({text, ChannelColours[channel]});
    }
    if (overlay.Lines.empty())
        return overlay;
    overlay.Lines.insert(overlay.Lines.begin(),
                         {{tr("サンプル %1").arg(index + 1), Black}, {Time(index, settings), Black}});
    overlay.CursorX = graph.ColumnOfSample(index) + 1;
    overlay.ReadoutAt = at;
    return overlay;
}

// Milliseconds below a second, so that the fastest rates' steps of a few
// microseconds still show. The run's own rate: a CH0 + CH1 run takes its
// pairs at half the converter's, as the analysis and export count time.
QString PlotReadout::Time(std::int32_t index, const MeasureSettings& settings)
{
    const double rate = MeasureItems::SampleRate(settings);
    if (rate <= 0)
        return QString();
    const double seconds = index / rate;
    if (seconds < 1)
        return tr("時間 %1 ms").arg(FormatReal(seconds * 1000, "0.000"));
    return tr("時間 %1 s").arg(FormatReal(seconds, "0.0000"));
}
