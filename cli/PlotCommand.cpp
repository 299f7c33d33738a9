#include "PlotCommand.h"

#include "CommandLine.h"
#include "Console.h"
#include "DataFileLoader.h"
#include "ExitCode.h"
#include "GraphView.h"
#include "LabelMetrics.h"
#include "PlotImage.h"
#include "RunData.h"
#include "Usage.h"
#include "ConsoleMessages.h"
#include "WindowTexts.h"

#include <memory>

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
