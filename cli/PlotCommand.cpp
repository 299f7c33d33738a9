#include "PlotCommand.h"

#include "CommandLine.h"
#include "Console.h"
#include "DataFileLoader.h"
#include "ExitCode.h"
#include "GraphView.h"
#include "ChartWords.h"
#include "LabelMetrics.h"
#include "LogEnvelope.h"
#include "LogSource.h"
#include "MeasureItems.h"
#include "TraceChart.h"
#include "PlotImage.h"
#include "RunData.h"
#include "Usage.h"
#include "ConsoleMessages.h"
#include "WindowTexts.h"

#include <QImage>
#include <QPainter>

#include <array>
#include <memory>

namespace {

constexpr int LogWidth = 1200;
constexpr int LogRowHeight = 260;
const std::array<QColor, 2> LogColours = {QColor(255, 0, 0), QColor(0, 0, 255)};

// The whole log, a trace per channel, as the report page draws a log's.
int PlotLog(const QString& path, const QString& output)
{
    QString error;
    const std::unique_ptr<LogSource> log = LogSource::Open(path, error);
    LogEnvelope envelope;
    if (!log || !envelope.Read(*log, 0, log->Samples() - 1, LogWidth)) {
        Console::Err(QStringLiteral("korvadex-cli: ") + (log ? envelope.Error() : error));
        return ExitUsageOrFile;
    }
    const MeasureSettings& settings = log->Head().Settings;
    QImage image(LogWidth, LogRowHeight * envelope.Channels(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const ChartWords& words = ChartWords::English();
    for (int c = 0; c < envelope.Channels(); ++c) {
        const int channel = settings.CHSel == ModeCh1 ? 1 : c;
        TraceChart::Paint(painter, QRectF(0, c * LogRowHeight, LogWidth, LogRowHeight),
                          words.Trace.arg(QStringLiteral("CH%1").arg(channel)), envelope.MicrovoltTrace(c, settings.GainDivisor),
                          MeasureItems::SampleRate(settings), LogColours[static_cast<std::size_t>(channel)], words);
    }
    painter.end();
    if (!image.save(output, "PNG")) {
        Console::Err(QStringLiteral("korvadex-cli: cannot write %1").arg(output));
        return ExitUsageOrFile;
    }
    return ExitDone;
}

} // namespace

int PlotCommand::Run(const QStringList& words)
{
    const QString output = QStringLiteral("-o");
    const QString volt = QStringLiteral("--volt");
    const QString labels = QStringLiteral("--labels");
    CommandLine line;
    if (!line.Parse(words, {{output, true}, {volt, false}, {labels, false}}))
        return Usage::Fail(line.Error());
    if (line.Positional().size() != 1)
        return Usage::Fail(QStringLiteral("plot takes exactly one file"));
    if (!line.Has(output) && !line.Has(labels))
        return Usage::Fail(QStringLiteral("plot needs -o FILE.png or --labels"));

    if (LogSource::IsLog(line.Positional().front())) {
        if (line.Has(labels) || line.Has(volt) || !line.Has(output))
            return Usage::Fail(QStringLiteral("plot of a LOG takes -o FILE.png only"));
        return PlotLog(line.Positional().front(), line.Value(output));
    }
    ConsoleMessages console;
    WindowTexts texts(console);
    const auto run = std::make_unique<RunData>();
    if (!DataFileLoader::Load(line.Positional().front(), *run, texts))
        return ExitUsageOrFile;

    const LabelMetrics metrics;
    GraphView view(*run, &metrics);
    run->ConvertAll();
    view.DrawAsLoaded(line.Has(volt));
    if (line.Has(labels)) {
        for (const QString& caption : view.Captions())
            Console::Out(caption);
    }
    if (line.Has(output) && !PlotImage::Compose(view, metrics).save(line.Value(output), "PNG")) {
        Console::Err(QStringLiteral("korvadex-cli: cannot write %1").arg(line.Value(output)));
        return ExitUsageOrFile;
    }
    return ExitDone;
}
