#include "ReportCommand.h"

#include "CommandLine.h"
#include "Console.h"
#include "DataFileLoader.h"
#include "ExitCode.h"
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
    "usage: korvadex-cli report FILE.DTA... [-o OUT.pdf|OUT.png] [--json]\n"
    "A one-page noise report per file: the settings; per channel RMS and\n"
    "peak-to-peak noise in µV, effective and noise-free resolution in bits and the\n"
    "mean; the trace; the code histogram with the Gaussian of the same mean and σ;\n"
    "the noise spectral density in µV/√Hz (Welch's method, Hann window, segments of\n"
    "a power of two overlapping by half) with the largest spurs listed and mains\n"
    "hum (50/60 Hz and harmonics) marked. Time and frequency follow the nominal\n"
    "rate (a CH0 + CH1 pair counted as two conversions). Files of fewer than 256\n"
    "samples get no spectrum, and the page says so.\n"
    "  -o OUT.pdf  one PDF, a page per file\n"
    "  -o OUT.png  a picture per file: OUT.png, or OUT-1.png, OUT-2.png ... for several\n"
    "  --json      the same figures as one JSON line per file on standard output\n"
    "exit codes: 0 done, 2 usage error, a file refused or the output not written";

} // namespace

int ReportCommand::Run(const QStringList& words)
{
    CommandLine line;
    if (!line.Parse(words, {{OutputOption, true}, {JsonOption, false}, {Usage::HelpOption, false}}))
        return Usage::Fail(line.Error());
    if (line.Has(Usage::HelpOption))
        return Usage::Help(QString::fromUtf8(HelpText));
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
        if (!DataFileLoader::Load(files[i], *run, texts)) {
            exitCode = ExitUsageOrFile;
            continue;
        }
        run->ConvertAll();
        const RunAnalysis analysis = ReportAnalysis::Of(files[i], run->Settings, run->Ch0Data, run->Ch1Data);
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
