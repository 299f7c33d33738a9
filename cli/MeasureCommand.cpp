#include "MeasureCommand.h"

#include "BoardChoice.h"
#include "BoardConnection.h"
#include "CommandLine.h"
#include "Console.h"
#include "ExitCode.h"
#include "ForcePrompt.h"
#include "MeasureItems.h"
#include "Myfile.h"
#include "ReportWriter.h"
#include "RunData.h"
#include "RunEvaluator.h"
#include "RunOptions.h"
#include "Usage.h"
#include "ConsoleMessages.h"
#include "WindowTexts.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <memory>

namespace {

const QString OutputOption = QStringLiteral("-o");
const QString ForceOption = QStringLiteral("--force");
const QString JsonOption = QStringLiteral("--json");

// The window's question, and what the command line does instead of asking.
void ReportExisting(const QString& path)
{
    Console::Err(QCoreApplication::translate("MeasureCommand", "ファイル：%1があります。").arg(path));
    Console::Err(QStringLiteral("korvadex-cli: not replaced; --force replaces an existing file"));
}

} // namespace

int MeasureCommand::Save(const QString& path, const RunData& run, bool force)
{
    ForcePrompt prompt(force);
    TmyFile file(prompt);
    const MeasureSettings& settings = run.Settings;
    bool saved = false;
    switch (settings.CHSel) {
    case ModeCh0:
        saved = file.SaveFile1CH(path, &settings, &run.Ch0Data);
        break;
    case ModeCh1:
        saved = file.SaveFile1CH(path, &settings, &run.Ch1Data);
        break;
    default:
        saved = file.SaveFile2CH(path, &settings, &run.Ch0Data, &run.Ch1Data);
        break;
    }
    if (!saved) {
        ConsoleMessages console;
        WindowTexts texts(console);
        texts.SetSubject(path);
        texts.Messages().MsgSaveError();
        return ExitUsageOrFile;
    }
    if (prompt.Declined()) {
        ReportExisting(path);
        return ExitUsageOrFile;
    }
    return ExitDone;
}

QString MeasureCommand::WithDtaExtension(const QString& path)
{
    const QString extension = QStringLiteral(".DTA");
    return path.endsWith(extension, Qt::CaseSensitive) ? path : path + extension;
}

int MeasureCommand::Run(const QStringList& words)
{
    CommandLine line;
    if (!line.Parse(words, {{RunOptions::Rate, true}, {RunOptions::Count, true}, {RunOptions::Channel, true}, {RunOptions::Filter, true},
                            {OutputOption, true}, {ForceOption, false}, {JsonOption, false},
                            {BoardConnection::StallOption, true}, {BoardChoice::Option, true}}))
        return Usage::Fail(line.Error());
    if (!line.Positional().isEmpty())
        return Usage::Fail(QStringLiteral("measure takes no file name but -o FILE.DTA"));
    const auto run = std::make_unique<RunData>();
    const QString error = RunOptions::SettingsFrom(line, QStringLiteral("measure"), true, run->Settings);
    if (!error.isEmpty())
        return Usage::Fail(error);
    const auto stallTimeout = BoardConnection::StallTimeout(line);
    if (!stallTimeout)
        return Usage::Fail(QStringLiteral("%1 takes a number of seconds").arg(BoardConnection::StallOption));
    const bool saving = line.Has(OutputOption);
    const QString path = saving ? WithDtaExtension(line.Value(OutputOption)) : QString();
    const bool force = line.Has(ForceOption);
    // Refused before the run rather than after it.
    if (saving && !force && QFileInfo::exists(path)) {
        ReportExisting(path);
        return ExitUsageOrFile;
    }

    BoardConnection board(*stallTimeout, BoardChoice::Serial(line));
    const ExitCode connected = board.Connect();
    if (connected != ExitDone)
        return connected;
    const ExitCode measured = board.Measure(*run, QString());
    if (run->Ch0Data.Count == 0 && run->Ch1Data.Count == 0)
        return measured;

    const std::vector<ChannelReport> reports = RunEvaluator::Evaluate(*run);
    ReportWriter(line.Has(JsonOption)).Print(saving ? path : QStringLiteral("measurement"), board.Identity(),
                                             run->Settings, reports);
    const int savedCode = saving ? Save(path, *run, force) : ExitDone;
    // The operator's stop outranks a failed save: neither is success.
    return measured == ExitDone ? savedCode : measured;
}
