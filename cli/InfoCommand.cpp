#include "InfoCommand.h"

#include "CommandLine.h"
#include "Console.h"
#include "DataFileLoader.h"
#include "ExitCode.h"
#include "LogAnalysis.h"
#include "LogPick.h"
#include "PickedLog.h"
#include "ReportWriter.h"
#include "RunData.h"
#include "RunEvaluator.h"
#include "Usage.h"
#include "ConsoleMessages.h"
#include "WindowTexts.h"

#include <memory>

namespace {

// A log's figures in one pass, with the status line's texts.
bool PrintLog(const QString& path, const LogPick& pick, const ReportWriter& writer)
{
    const PickedLog picked = PickedLog::Open(path, pick);
    if (!picked.Log)
        return false;
    RunAnalysis analysis;
    QString error;
    if (!LogAnalysis::Of(path, *picked.Log, picked.Pieces, false, analysis, error)) {
        Console::Err(QStringLiteral("korvadex-cli: ") + error);
        return false;
    }
    std::vector<ChannelReport> reports;
    for (const ChannelAnalysis& channel : analysis.Channels) {
        reports.push_back(channel.Figures);
        RunEvaluator::WriteTexts(reports.back());
    }
    writer.Print(path, QString::fromStdString(picked.Log->Head().Board), analysis.Settings, reports);
    return true;
}

} // namespace

int InfoCommand::Run(const QStringList& words)
{
    CommandLine line;
    std::vector<CommandLine::Option> options = LogPick::Options();
    options.push_back({QStringLiteral("--json"), false});
    if (!line.Parse(words, options))
        return Usage::Fail(line.Error());
    if (line.Positional().isEmpty())
        return Usage::Fail(QStringLiteral("info needs at least one file"));
    LogPick pick;
    const QString pickError = pick.Parse(line);
    if (!pickError.isEmpty())
        return Usage::Fail(pickError);

    ConsoleMessages console;
    WindowTexts texts(console);
    const auto run = std::make_unique<RunData>();
    const ReportWriter writer(line.Has(QStringLiteral("--json")));
    int exitCode = ExitDone;
    for (const QString& path : line.Positional()) {
        if (LogSource::IsLog(path)) {
            if (!PrintLog(path, pick, writer))
                exitCode = ExitUsageOrFile;
            continue;
        }
        if (PickedLog::RefusePick(path, pick) || !DataFileLoader::Load(path, *run, texts)) {
            exitCode = ExitUsageOrFile;
            continue;
        }
        writer.Print(path, QString(), run->Settings, RunEvaluator::Evaluate(*run));
    }
    return exitCode;
}
