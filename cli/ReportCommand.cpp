#include "ReportCommand.h"

#include "CommandLine.h"
#include "Console.h"
#include "DataFileLoader.h"
#include "ExitCode.h"
#include "LogAnalysis.h"
#include "LogPick.h"
#include "PickedLog.h"
#include "ProgressBar.h"
#include "ReportAnalysis.h"
#include "ReportDocument.h"
#include "ReportJson.h"
#include "RunData.h"
#include "Terminal.h"
#include "Usage.h"
#include "ConsoleMessages.h"
#include "WindowTexts.h"

#include <memory>

namespace {

const QString OutputOption = QStringLiteral("-o");
const QString JsonOption = QStringLiteral("--json");

const char* const HelpText =
    "usage: korvadex-cli report FILE.DTA|LOG... [-o OUT.pdf|OUT.png] [--json]\n"
    "                           [--runs A-B] [--from TIME] [--to TIME]\n"
    "A one-page noise report per file: the settings; per channel RMS and\n"
    "peak-to-peak noise in µV, effective and noise-free resolution in bits and the\n"
    "mean; the trace; the code histogram with the Gaussian of the same mean and σ;\n"
    "the noise spectral density in µV/√Hz (Welch's method, Hann window, segments of\n"
    "a power of two overlapping by half) with the largest spurs listed and mains\n"
    "hum (50/60 Hz and harmonics) marked. Time and frequency follow the nominal\n"
    "rate (a CH0 + CH1 pair counted as two conversions). Files of fewer than 256\n"
    "samples get no spectrum, and the page says so.\n"
    "A LOG (a long-term log of log -o, text or HDF5) of any length is worked in one\n"
    "pass in memory that does not grow with it: its runs as one stream, Welch's\n"
    "segments of 16384 samples, the trace of the whole log as each pixel column's\n"
    "lowest and highest sample.\n"
    "  --runs A-B     only runs A to B of a log (--runs N: run N)\n"
    "  --from TIME    only a log's samples from TIME on (UTC, as the log writes\n"
    "                 it: 2026-12-08T21:40:12.345Z); a sample's time is its run's\n"
    "                 start and its index at the nominal rate\n"
    "  --to TIME      only a log's samples before TIME\n"
    "  -o OUT.pdf  one PDF, a page per file\n"
    "  -o OUT.png  a picture per file: OUT.png, or OUT-1.png, OUT-2.png ... for several\n"
    "  --json      the same figures as one JSON line per file on standard output\n"
    "exit codes: 0 done, 2 usage error, a file refused or the output not written";

// A log's analysis, or false with its reason told.
bool AnalyseLog(const QString& path, const LogPick& pick, bool withTrace, RunAnalysis& analysis)
{
    const PickedLog picked = PickedLog::Open(path, pick);
    if (!picked.Log)
        return false;
    QString error;
    if (LogAnalysis::Of(path, *picked.Log, picked.Pieces, withTrace, analysis, error))
        return true;
    Console::Err(QStringLiteral("korvadex-cli: ") + error);
    return false;
}

} // namespace

int ReportCommand::Run(const QStringList& words)
{
    CommandLine line;
    std::vector<CommandLine::Option> options = LogPick::Options();
    options.insert(options.end(), {{OutputOption, true}, {JsonOption, false}, {Usage::HelpOption, false}});
    if (!line.Parse(words, options))
        return Usage::Fail(line.Error());
    if (line.Has(Usage::HelpOption))
        return Usage::Help(QString::fromUtf8(HelpText));
    LogPick pick;
    const QString pickError = pick.Parse(line);
    if (!pickError.isEmpty())
        return Usage::Fail(pickError);
    const QStringList& files = line.Positional();
    if (files.isEmpty())
        return Usage::Fail(QStringLiteral("report needs at least one file"));
    if (!line.Has(OutputOption) && !line.Has(JsonOption))
        return Usage::Fail(QStringLiteral("report needs -o OUT.pdf, -o OUT.png or --json"));
    const QString output = line.Value(OutputOption);
    if (line.Has(OutputOption) && !ReportDocument::IsKnownKind(output))
        return Usage::Fail(QStringLiteral("-o %1: a report is written as .pdf or .png").arg(output));

    std::unique_ptr<ReportDocument> document;
    if (line.Has(OutputOption))
        document = std::make_unique<ReportDocument>(output, static_cast<int>(files.size()));
    ConsoleMessages console;
    WindowTexts texts(console);
    const auto run = std::make_unique<RunData>();
    ProgressBar bar(files.size() > 1 && Terminal::StderrIsTerminal(), QStringLiteral("report"));
    int exitCode = ExitDone;
    for (qsizetype i = 0; i < files.size(); ++i) {
        bar.Update(static_cast<std::int32_t>(i), static_cast<std::int32_t>(files.size()));
        RunAnalysis analysis;
        if (LogSource::IsLog(files[i])) {
            run->Clear();
            if (!AnalyseLog(files[i], pick, document != nullptr, analysis)) {
                exitCode = ExitUsageOrFile;
                continue;
            }
        } else if (PickedLog::RefusePick(files[i], pick) || !DataFileLoader::Load(files[i], *run, texts)) {
            exitCode = ExitUsageOrFile;
            continue;
        } else {
            run->ConvertAll();
            analysis = ReportAnalysis::Of(files[i], run->Settings, run->Ch0Data, run->Ch1Data);
        }
        if (line.Has(JsonOption))
            Console::Out(QString::fromUtf8(ReportJson::Line(analysis)));
        if (document && !document->AddPage(static_cast<int>(i), analysis, run->Ch0Data, run->Ch1Data)) {
            Console::Err(QStringLiteral("korvadex-cli: ") + document->Error());
            exitCode = ExitUsageOrFile;
        }
    }
    bar.Finish();
    if (document && !document->Finish()) {
        Console::Err(QStringLiteral("korvadex-cli: ") + document->Error());
        exitCode = ExitUsageOrFile;
    }
    return exitCode;
}
