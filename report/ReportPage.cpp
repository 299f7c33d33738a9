#include "ReportPage.h"

#include "ChartFrame.h"
#include "ChartWords.h"
#include "FormatReal.h"
#include "HistogramChart.h"
#include "MeasureItems.h"
#include "ReportAnalysis.h"
#include "ChannelData.h"
#include "DensityChart.h"
#include "TraceChart.h"
#include "WelchDensity.h"

#include <QPainter>
#include <QStringList>

#include <array>

namespace {

constexpr double Margin = 36.0;
constexpr double Width = ReportPage::Size.width() - 2.0 * Margin;
constexpr double RowHeight = 12.0;
constexpr double ChartsBottom = 640.0;
constexpr qsizetype SpurLines = static_cast<qsizetype>(ReportAnalysis::MostSpurs);
const std::array<QColor, 2> ChannelColours = {QColor(255, 0, 0), QColor(0, 0, 255)};

QString Decimals(double value, const char* pattern)
{
    return FormatReal(value, pattern, QLatin1Char('.'));
}

QString Bits(const std::optional<double>& bits)
{
    return bits ? Decimals(*bits, "0.00") : QStringLiteral("—");
}

QString ChannelName(const ChannelAnalysis& channel)
{
    return QStringLiteral("CH%1").arg(channel.Figures.Channel);
}

const ChannelData& DataOf(const ChannelData& ch0, const ChannelData& ch1, const ChannelAnalysis& channel)
{
    return channel.Figures.Channel == 0 ? ch0 : ch1;
}

QColor ColourOf(const ChannelAnalysis& channel)
{
    return ChannelColours[static_cast<std::size_t>(channel.Figures.Channel)];
}

double DrawHeading(QPainter& painter, const RunAnalysis& analysis)
{
    painter.setFont(ChartFrame::Font(13, true));
    painter.drawText(QRectF(Margin, Margin, Width, 16.0), Qt::AlignLeft | Qt::AlignVCenter, analysis.Name);
    painter.setFont(ChartFrame::Font(9));
    const QString settings = QStringLiteral("%1   ·   %2 samples/s nominal")
                                 .arg(MeasureItems::Describe(analysis.Settings))
                                 .arg(analysis.SampleRate, 0, 'g', 6);
    painter.drawText(QRectF(Margin, Margin + 18.0, Width, RowHeight), Qt::AlignLeft | Qt::AlignVCenter, settings);
    return Margin + 36.0;
}

void DrawRow(QPainter& painter, double top, const QStringList& cells)
{
    const double first = 28.0;
    const double each = (Width - first) / (cells.size() - 1);
    for (qsizetype i = 0; i < cells.size(); ++i) {
        const double left = i == 0 ? Margin : Margin + first + each * static_cast<double>(i - 1);
        painter.drawText(QRectF(left, top, i == 0 ? first : each, RowHeight),
                         (i == 0 ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter, cells[i]);
    }
}

double DrawTable(QPainter& painter, const RunAnalysis& analysis, double top)
{
    painter.setFont(ChartFrame::Font(7, true));
    DrawRow(painter, top,
            {QString(), QStringLiteral("samples"), QStringLiteral("RMS noise [µV]"), QStringLiteral("p-p noise [µV]"),
             QStringLiteral("effective [bit]"), QStringLiteral("noise-free [bit]"), QStringLiteral("mean [µV]"),
             QStringLiteral("mean [code]")});
    painter.setPen(QPen(Qt::black, 0.5));
    painter.drawLine(QPointF(Margin, top + RowHeight + 1.0), QPointF(Margin + Width, top + RowHeight + 1.0));
    painter.setFont(ChartFrame::Font(8));
    double row = top + RowHeight + 3.0;
    for (const ChannelAnalysis& channel : analysis.Channels) {
        painter.setPen(ColourOf(channel));
        DrawRow(painter, row, ReportPage::TableCells(channel));
        row += RowHeight;
    }
    painter.setPen(Qt::black);
    return row + 8.0;
}

double DrawChannelRows(QPainter& painter, const QRectF& area, double height, const RunAnalysis& analysis,
                       const ChannelData& ch0, const ChannelData& ch1, const ChartWords& words)
{
    const double traceWidth = area.width() * 0.62;
    double top = area.top();
    for (const ChannelAnalysis& channel : analysis.Channels) {
        const QString name = ChannelName(channel);
        const QRectF traceArea(area.left(), top, traceWidth, height);
        if (channel.Trace)
            TraceChart::Paint(painter, traceArea, words.Trace.arg(name), *channel.Trace, analysis.SampleRate,
                              ColourOf(channel), words);
        else
            TraceChart::Paint(painter, traceArea, words.Trace.arg(name), DataOf(ch0, ch1, channel),
                              analysis.SampleRate, ColourOf(channel), words);
        const QString histogramTitle = channel.Histogram.BinCodes == 1
                                           ? words.Histogram.arg(name)
                                           : words.HistogramBins.arg(name).arg(channel.Histogram.BinCodes);
        HistogramChart::Paint(painter, QRectF(area.left() + traceWidth, top, area.width() - traceWidth, height),
                              histogramTitle, channel.Histogram, ColourOf(channel), words);
        top += height;
    }
    return top + 4.0;
}

void DrawSpectrum(QPainter& painter, const QRectF& area, const RunAnalysis& analysis, const ChartWords& words)
{
    std::vector<DensityChart::Trace> traces;
    QStringList notes;
    for (const ChannelAnalysis& channel : analysis.Channels) {
        if (channel.Spectrum)
            traces.push_back({&*channel.Spectrum, &channel.Spurs, ColourOf(channel)});
        else
            notes << words.NoSpectrum.arg(ChannelName(channel)).arg(channel.Figures.Count).arg(
                WelchDensity::MinimumSamples);
    }
    DensityChart::Paint(painter, area, traces, notes, words);
}

QString SpurLine(const ChannelAnalysis& channel, const Spur& spur)
{
    const QStringList cells = ReportPage::SpurCells(channel, spur);
    QString text = QStringLiteral("%1   %2 Hz   %3 µV peak").arg(cells[0], cells[1], cells[2]);
    if (!cells[3].isEmpty())
        text += QStringLiteral("   mains ") + cells[3];
    return text;
}

void DrawSpurList(QPainter& painter, const RunAnalysis& analysis)
{
    const double top = ChartsBottom + 6.0;
    painter.setFont(ChartFrame::Font(9, true));
    painter.drawText(QRectF(Margin, top, Width, RowHeight), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("Largest spurs"));
    painter.setFont(ChartFrame::Font(8));
    const double column = Width / static_cast<double>(std::max<std::size_t>(1, analysis.Channels.size()));
    for (std::size_t c = 0; c < analysis.Channels.size(); ++c) {
        const ChannelAnalysis& channel = analysis.Channels[c];
        painter.setPen(ColourOf(channel));
        QStringList lines;
        for (const Spur& spur : channel.Spurs)
            lines << SpurLine(channel, spur);
        if (lines.isEmpty())
            lines << ChannelName(channel) + (channel.Spectrum ? QStringLiteral("   none 10 dB above the noise")
                                                              : QStringLiteral("   no spectrum"));
        for (qsizetype i = 0; i < lines.size() && i < SpurLines; ++i)
            painter.drawText(QRectF(Margin + column * static_cast<double>(c), top + RowHeight * (1.0 + i), column,
                                    RowHeight),
                             Qt::AlignLeft | Qt::AlignVCenter, lines[i]);
    }
    painter.setPen(Qt::black);
}

QString MethodLine(const RunAnalysis& analysis)
{
    for (const ChannelAnalysis& channel : analysis.Channels) {
        if (!channel.Spectrum)
            continue;
        const NoiseDensity& s = *channel.Spectrum;
        return QStringLiteral("Spectrum: Welch's method, Hann window, %1 segments of %2 samples overlapping by half, "
                              "bins of %3 Hz; median density %4 µV/√Hz (%5).")
            .arg(s.Segments)
            .arg(s.SegmentLength)
            .arg(s.BinHz, 0, 'g', 4)
            .arg(s.MedianDensity(), 0, 'g', 3)
            .arg(ChannelName(channel));
    }
    return QStringLiteral("No spectrum: too few samples.");
}

} // namespace

QStringList ReportPage::TableCells(const ChannelAnalysis& channel)
{
    const ChannelReport& f = channel.Figures;
    return {ChannelName(channel),
            QString::number(f.Count),
            Decimals(f.Noise.RmsMicrovolts, "0.000"),
            Decimals(f.Noise.PeakToPeakMicrovolts, "0.000"),
            Bits(f.Noise.EffectiveBits),
            Bits(f.Noise.NoiseFreeBits),
            Decimals(f.MeanMicrovolts, "0.000"),
            QString::number(f.MeanCode)};
}

QStringList ReportPage::SpurCells(const ChannelAnalysis& channel, const Spur& spur)
{
    return {ChannelName(channel), Decimals(spur.FrequencyHz, "0.00"), Decimals(spur.AmplitudeMicrovolts, "0.000"),
            spur.MainsHz > 0 ? DensityChart::MainsName(spur) : QString()};
}

void ReportPage::PaintCharts(QPainter& painter, const QRectF& area, double rowHeight, const RunAnalysis& analysis,
                             const ChannelData& ch0, const ChannelData& ch1, const ChartWords& words)
{
    const double top = DrawChannelRows(painter, area, rowHeight, analysis, ch0, ch1, words);
    DrawSpectrum(painter, QRectF(area.left(), top, area.width(), area.bottom() - top), analysis, words);
}

void ReportPage::Paint(QPainter& painter, const RunAnalysis& analysis, const ChannelData& ch0,
                       const ChannelData& ch1)
{
    painter.fillRect(QRectF(QPointF(0.0, 0.0), Size), Qt::white);
    painter.setPen(Qt::black);
    double top = DrawHeading(painter, analysis);
    top = DrawTable(painter, analysis, top);
    const double rowHeight = analysis.Channels.size() > 1 ? 150.0 : 190.0;
    PaintCharts(painter, QRectF(Margin, top, Width, ChartsBottom - top), rowHeight, analysis, ch0, ch1,
                ChartWords::English());
    DrawSpurList(painter, analysis);
    painter.setFont(ChartFrame::Font(7));
    painter.setPen(QColor(90, 90, 90));
    painter.drawText(QRectF(Margin, Size.height() - Margin - RowHeight, Width, RowHeight),
                     Qt::AlignLeft | Qt::AlignVCenter, MethodLine(analysis));
}
