#include "ExportCommand.h"

#include "CommandLine.h"
#include "DataFileLoader.h"
#include "Console.h"
#include "ExitCode.h"
#include "LogPick.h"
#include "MeasureItems.h"
#include "PickedLog.h"
#include "OutputFile.h"
#include "ProgressBar.h"
#include "RunData.h"
#include "SampleTable.h"
#include "StretchExport.h"
#include "Terminal.h"
#include "Usage.h"
#include "ConsoleMessages.h"
#include "WindowTexts.h"

#include <QDir>
#include <QFileInfo>

#include <memory>

namespace {

const QString CsvOption = QStringLiteral("--csv");
const QString TsvOption = QStringLiteral("--tsv");
const QString OutputOption = QStringLiteral("-o");

const char* const HelpText =
    "usage: korvadex-cli export FILE.DTA|LOG... [--csv|--tsv] [-o OUT]\n"
    "                           [--runs A-B] [--from TIME] [--to TIME]\n"
    "Writes each file's samples as a table: a header row, then one row per sample\n"
    "(pair): index from 0, time in seconds from the nominal rate (a CH0 + CH1 pair\n"
    "counted as two conversions), and for each channel holding data its code and\n"
    "its value in microvolts as the window computes it. The decimal point is\n"
    "always \".\"; the codes are exact.\n"
    "  --csv     comma-separated (the default)\n"
    "  --tsv     tab-separated\n"
    "  -o OUT    one file: write to OUT instead of standard output;\n"
    "            several files: the folder OUT (made if missing), each file as\n"
    "            its name with .csv or .tsv in place of .DTA (or its extension)\n"
    "A LOG (a long-term log of log -o, text or HDF5) of any length is written a\n"
    "block at a time: its picked samples numbered from 0 as one stream.\n"
    "  --runs A-B     only runs A to B of a log (--runs N: run N)\n"
    "  --from TIME    only a log's samples from TIME on (UTC, as the log writes\n"
    "                 it: 2026-12-08T21:40:12.345Z); a sample's time is its run's\n"
    "                 start and its index at the nominal rate\n"
    "  --to TIME      only a log's samples before TIME\n"
    "exit codes: 0 done, 2 usage error, a file refused or an output not written";

QString Extension(bool tab)
{
    return tab ? QStringLiteral(".tsv") : QStringLiteral(".csv");
}

// A log's picked samples as the table, a block at a time.
bool ExportLog(const QString& path, const LogPick& pick, const SampleTable& table, const QString& output)
{
    const PickedLog picked = PickedLog::Open(path, pick);
    if (!picked.Log)
        return false;
    OutputFile out(output);
    QString error;
    const bool read = StretchExport::Table(
        *picked.Log, picked.Pieces, table, [&out](const std::string& text) { return out.Append(text); }, error);
    if (!read && !error.isEmpty())
        Console::Err(QStringLiteral("korvadex-cli: ") + error);
    return read && out.Commit();
}

} // namespace

QString ExportCommand::PathInFolder(const QString& folder, const QString& file, const QString& extension)
{
    QString name = QFileInfo(file).fileName();
    if (name.endsWith(QLatin1String(".DTA"), Qt::CaseInsensitive))
        name.chop(4);
    else if (LogSource::IsLog(file) && !QFileInfo(file).suffix().isEmpty())
        name.chop(QFileInfo(file).suffix().size() + 1);
    return QDir(folder).filePath(name + extension);
}

int ExportCommand::Run(const QStringList& words)
{
    CommandLine line;
    std::vector<CommandLine::Option> options = LogPick::Options();
    options.insert(options.end(), {{CsvOption, false}, {TsvOption, false}, {OutputOption, true}, {Usage::HelpOption, false}});
    if (!line.Parse(words, options))
        return Usage::Fail(line.Error());
    if (line.Has(Usage::HelpOption))
        return Usage::Help(QString::fromUtf8(HelpText));
    LogPick pick;
    const QString pickError = pick.Parse(line);
    if (!pickError.isEmpty())
        return Usage::Fail(pickError);
    if (line.Has(CsvOption) && line.Has(TsvOption))
        return Usage::Fail(QStringLiteral("export takes --csv or --tsv, not both"));
    const QStringList& files = line.Positional();
    if (files.isEmpty())
        return Usage::Fail(QStringLiteral("export needs at least one file"));
    const bool severalFiles = files.size() > 1;
    if (severalFiles && !line.Has(OutputOption))
        return Usage::Fail(QStringLiteral("export of several files needs -o FOLDER"));
    const QString output = line.Value(OutputOption);
    if (severalFiles && !QDir().mkpath(output))
        return Usage::Fail(QStringLiteral("cannot make the folder %1").arg(output));

    const bool tab = line.Has(TsvOption);
    const SampleTable table(tab ? '\t' : ',');
    ConsoleMessages console;
    WindowTexts texts(console);
    const auto run = std::make_unique<RunData>();
    ProgressBar bar(severalFiles && Terminal::StderrIsTerminal(), QStringLiteral("export"));
    int exitCode = ExitDone;
    for (qsizetype i = 0; i < files.size(); ++i) {
        bar.Update(static_cast<std::int32_t>(i), static_cast<std::int32_t>(files.size()));
        const QString path = severalFiles ? PathInFolder(output, files[i], Extension(tab)) : output;
        if (LogSource::IsLog(files[i])) {
            if (!ExportLog(files[i], pick, table, path))
                exitCode = ExitUsageOrFile;
            continue;
        }
        if (PickedLog::RefusePick(files[i], pick) || !DataFileLoader::Load(files[i], *run, texts)) {
            exitCode = ExitUsageOrFile;
            continue;
        }
        run->ConvertAll();
        if (!OutputFile::WriteText(path, table.Text(run->Settings, run->Ch0Data, run->Ch1Data)))
            exitCode = ExitUsageOrFile;
    }
    bar.Finish();
    return exitCode;
}
