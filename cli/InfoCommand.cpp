#include "InfoCommand.h"

#include "CommandLine.h"
#include "DataFileLoader.h"
#include "ExitCode.h"
#include "ReportWriter.h"
#include "RunData.h"
#include "RunEvaluator.h"
#include "Usage.h"
#include "ConsoleMessages.h"
#include "WindowTexts.h"

#include <memory>

int InfoCommand::Run(const QStringList& words)
{
    CommandLine line;
    if (!line.Parse(words, {{QStringLiteral("--json"), false}}))
        return Usage::Fail(line.Error());
    if (line.Positional().isEmpty())
        return Usage::Fail(QStringLiteral("info needs at least one file"));

    ConsoleMessages console;
    WindowTexts texts(console);
    const auto run = std::make_unique<RunData>();
    const ReportWriter writer(line.Has(QStringLiteral("--json")));
    int exitCode = ExitDone;
    for (const QString& path : line.Positional()) {
        if (!DataFileLoader::Load(path, *run, texts)) {
            exitCode = ExitUsageOrFile;
            continue;
        }
        writer.Print(path, QString(), run->Settings, RunEvaluator::Evaluate(*run));
    }
    return exitCode;
}
