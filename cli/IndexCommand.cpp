#include "IndexCommand.h"

#include "CommandLine.h"
#include "Console.h"
#include "ExitCode.h"
#include "Hdf5Module.h"
#include "Hdf5Signature.h"
#include "Usage.h"

#include <QFileInfo>

namespace {

const QString ForceOption = QStringLiteral("--force");

const char* const HelpText =
    "usage: korvadex-cli index [--force] LOG.h5...\n"
    "Adds block summaries to HDF5 logs written without them (by an older\n"
    "version, or by another program in the same layout): /summary/level1 holds\n"
    "min, max, count, sum and squared deviations of every 4096 samples (pairs)\n"
    "of /codes, each level above of 16 rows of the one below. The codes are\n"
    "read once; the summaries are linked into the file only when whole, so a\n"
    "failure or a kill leaves the log as it was. Logs written now have them.\n"
    "A log being written, or marked open for writing by a writer that was killed,\n"
    "is refused; once no writer runs, h5clear -s clears the mark of a killed one.\n"
    "  --force   build the summaries anew where the log has them already\n"
    "exit codes: 0 done, 2 usage error, a log refused or not indexed";

// The reason a file cannot be indexed, or nothing once it is.
QString IndexFile(const QString& path, bool rebuild)
{
    if (!QFileInfo::exists(path))
        return QStringLiteral("%1: no such file").arg(path);
    if (!Hdf5Signature::StartsWith(path))
        return QStringLiteral("%1: not an HDF5 log (only HDF5 logs hold block summaries)").arg(path);
    QString error;
    const Hdf5ModuleEntries* hdf5 = Hdf5Module::Load(error);
    if (hdf5 == nullptr)
        return QStringLiteral("%1: %2").arg(path, error);
    return hdf5->IndexLog(path, rebuild, error) ? QString() : error;
}

} // namespace

int IndexCommand::Run(const QStringList& words)
{
    CommandLine line;
    if (!line.Parse(words, {{ForceOption, false}, {Usage::HelpOption, false}}))
        return Usage::Fail(line.Error());
    if (line.Has(Usage::HelpOption))
        return Usage::Help(QString::fromUtf8(HelpText));
    if (line.Positional().isEmpty())
        return Usage::Fail(QStringLiteral("index needs at least one log"));
    int exitCode = ExitDone;
    for (const QString& path : line.Positional()) {
        const QString error = IndexFile(path, line.Has(ForceOption));
        if (!error.isEmpty()) {
            Console::Err(QStringLiteral("korvadex-cli: ") + error);
            exitCode = ExitUsageOrFile;
        }
    }
    return exitCode;
}
