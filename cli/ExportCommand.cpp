#include "ExportCommand.h"

#include "CommandLine.h"
#include "DataFileLoader.h"
#include "ExitCode.h"
#include "OutputFile.h"
#include "ProgressBar.h"
#include "RunData.h"
#include "SampleTable.h"
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
    "usage: korvadex-cli export FILE.DTA... [--csv|--tsv] [-o OUT]\n"
    "Writes each file's samples as a table: a header row, then one row per sample\n"
    "(pair): index from 0, time in seconds from the nominal rate (a CH0 + CH1 pair\n"
    "counted as two conversions), and for each channel holding data its code and\n"
    "its value in microvolts as the window computes it. The decimal point is\n"
    "always \".\"; the codes are exact.\n"
    "  --csv     comma-separated (the default)\n"
    "  --tsv     tab-separated\n"
    "  -o OUT    one file: write to OUT instead of standard output;\n"
    "            several files: the folder OUT (made if missing), each file as\n"
    "            its name with .csv or .tsv in place of .DTA\n"
    "exit codes: 0 done, 2 usage error, a file refused or an output not written";

QString Extension(bool tab)
{
    return tab ? QStringLiteral(".tsv") : QStringLiteral(".csv");
}

} // namespace

QString ExportCommand::PathInFolder(const QString& folder, const QString& file, const QString& extension)
{
    QString name = QFileInfo(file).fileName();
    if (name.endsWith(QLatin1String(".DTA"), Qt::CaseInsensitive))
        name.chop(4);
    return QDir(folder).filePath(name + extension);
}

int ExportCommand::Run(const QStringList& words)
{
    CommandLine line;
    if (!line.Parse(words, {{CsvOption, false}, {TsvOption, false}, {OutputOption, true}, {Usage::HelpOption, false}}))
        return Usage::Fail(line.Error());
    if (line.Has(Usage::HelpOption))
        return Usage::Help(QString::fromUtf8(HelpText));
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
        if (!DataFileLoader::Load(files[i], *run, texts)) {
            exitCode = ExitUsageOrFile;
            continue;
        }
        run->ConvertAll();
        const QString path = severalFiles ? PathInFolder(output, files[i], Extension(tab)) : output;
        if (!OutputFile::WriteText(path, table.Text(run->Settings, run->Ch0Data, run->Ch1Data)))
            exitCode = ExitUsageOrFile;
    }
    bar.Finish();
    return exitCode;
}
