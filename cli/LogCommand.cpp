#include "LogCommand.h"

#include "BoardChoice.h"
#include "BoardConnection.h"
#include "CommandLine.h"
#include "Console.h"
#include "ExitCode.h"
#include "Hdf5Module.h"
#include "InterruptFlag.h"
#include "LogSession.h"
#include "MeasureItems.h"
#include "PublishOptions.h"
#include "PublishingOutput.h"
#include "RunData.h"
#include "RunOptions.h"
#include "TextLogOutput.h"
#include "Usage.h"

#include <QFileInfo>

#include <memory>

namespace {

const QString OutputOption = QStringLiteral("-o");
const QString DurationOption = QStringLiteral("--duration");
const QString RunsOption = QStringLiteral("--runs");
const QString ForceOption = QStringLiteral("--force");
const QString FormatOption = QStringLiteral("--format");
const QString StopWithStdinOption = QStringLiteral("--stop-with-stdin");

const char* const HelpText =
    "usage: korvadex-cli log --rate ITEM --channel 0|1|2 --filter sinc3|sinc5 -o OUT.csv|OUT.h5\n"
    "                        [--format text|hdf5] [--duration SECONDS|--runs N] [--force]\n"
    "                        [--stall-timeout SECONDS] [--board SERIAL] [--reconnect[=SECONDS]]\n"
    "                        [--publish mqtt://HOST[:PORT]/PREFIX|influx-file:PATH]\n"
    "                        [--mqtt-user NAME --mqtt-password-file FILE] [--stop-with-stdin]\n"
    "Long-term acquisition: the board is identified once, then runs of 100000\n"
    "samples (pairs) follow back to back until the duration has passed, N runs are\n"
    "done, or Ctrl-C; without either option it runs until Ctrl-C. Every sample is\n"
    "appended to OUT.csv as it arrives: time (UTC, when the read that brought it\n"
    "returned), run from 1, sample in its run from 0, code and µV per channel. Lines\n"
    "starting with \"#\" name the board, the settings and the start, each run's\n"
    "start, the gap between two runs (measured, the board takes no samples while a\n"
    "run is started) and how the log ended. The file is written at least once a\n"
    "second, in whole lines: a killed program loses at most the last second and\n"
    "leaves no half line (lines of \"#\" and blanks fill each 4096-byte block so that\n"
    "no line crosses into the next).\n"
    "HDF5 instead of text: a name ending in .h5 (or .hdf5), or --format hdf5. The\n"
    "codes go to the dataset /codes (int32, n or n x 2, compressed, a few bytes a\n"
    "sample), the runs with how each ended to /runs, the gaps and the board's\n"
    "comings and goings to /events, the head to the root's attributes (the README\n"
    "names them all). It too is written at least once a second, for SWMR: h5py can\n"
    "read it while it grows (h5py.File(path, \"r\", swmr=True)), and after a kill\n"
    "everything up to the last write stays readable.\n"
    "An existing output file is replaced only with --force. With several FTDI devices\n"
    "attached, --board (or KORVADEX_BOARD) names the board by its serial number.\n"
    "--reconnect: a run that fails (read error, stall, board error, pulled cable)\n"
    "does not end the log. Its rows stay and \"#\" lines mark it incomplete and name\n"
    "the cause and the time; the link is closed and the same board (by serial\n"
    "number) is looked for four times a second until it is back, identified and\n"
    "configured again, and the next run follows. Without SECONDS it waits for ever;\n"
    "with them it gives up after that long (exit 7). Ctrl-C, --duration and --runs\n"
    "end the wait too; the last line counts the reconnects and the time lost.\n"
    "--publish: live figures for dashboards. Each second's summary (samples, and per\n"
    "channel min, max, mean, sigma and pp in uV) goes as JSON to PREFIX/SERIAL/summary\n"
    "on the MQTT broker (port 1883, prefix korvadex by default), the events to\n"
    "PREFIX/SERIAL/event and a retained online/offline to PREFIX/SERIAL/status (also\n"
    "the last will), QoS 1. The broker never holds up the log: while it is away up to\n"
    "ten minutes of summaries wait, then the oldest go; the last line counts what was\n"
    "not delivered. influx-file:PATH appends the summaries as InfluxDB line protocol.\n"
    "The password is read from the file's first line, never from the command line.\n"
    "--stop-with-stdin: the end of standard input ends the log as Ctrl-C does, for a\n"
    "program that runs the log (the window's recording closes it to stop).\n"
    "exit codes: 0 done, 2 usage or file error, 3 board not found, 4 no response,\n"
    "5 board error, 6 read error (everything taken before it is kept), 7 the board\n"
    "did not come back within --reconnect=SECONDS, 130 Ctrl-C";

// Settings of the runs, the largest count, from the required options; an
// empty error when all are good.
QString SettingsFrom(const CommandLine& line, MeasureSettings& settings)
{
    const QString error = RunOptions::SettingsFrom(line, QStringLiteral("log"), false, settings);
    if (!error.isEmpty())
        return error;
    if (!line.Has(OutputOption))
        return QStringLiteral("log needs %1").arg(OutputOption);
    settings.DataCountSel = MeasureItems::CountCount - 1;
    return QString();
}

QString LimitsFrom(const CommandLine& line, LogLimits& limits)
{
    if (line.Has(DurationOption) && line.Has(RunsOption))
        return QStringLiteral("log takes %1 or %2, not both").arg(DurationOption, RunsOption);
    if (line.Has(DurationOption)) {
        limits.Seconds = CommandLine::ParseSeconds(line.Value(DurationOption));
        if (!limits.Seconds)
            return QStringLiteral("%1 takes a number of seconds").arg(DurationOption);
    }
    if (line.Has(RunsOption)) {
        bool ok = false;
        const int runs = line.Value(RunsOption).toInt(&ok);
        if (!ok || runs < 1)
            return QStringLiteral("%1 takes a number of runs from 1").arg(RunsOption);
        limits.Runs = runs;
    }
    return QString();
}

// The HDF5 form for --format hdf5 or a name ending in .h5 or .hdf5, else the
// text form; nothing when --format names neither, or with the reason in
// `error` when the HDF5 module cannot be loaded.
std::unique_ptr<LogOutput> OutputFor(const CommandLine& line, const QString& path, QString& error)
{
    const QString format = line.Has(FormatOption) ? line.Value(FormatOption) : QString();
    const bool hdf5Name = path.endsWith(QStringLiteral(".h5"), Qt::CaseInsensitive)
        || path.endsWith(QStringLiteral(".hdf5"), Qt::CaseInsensitive);
    if (format == QStringLiteral("hdf5") || (format.isEmpty() && hdf5Name)) {
        const Hdf5ModuleEntries* hdf5 = Hdf5Module::Load(error);
        return hdf5 == nullptr ? nullptr : hdf5->NewOutput();
    }
    if (format == QStringLiteral("text") || format.isEmpty())
        return std::make_unique<TextLogOutput>();
    return nullptr;
}

// The file output, publishing beside it when --publish names a target;
// nothing with the reason in `error` for a bad --publish or password file.
std::unique_ptr<LogOutput> PublishedOutput(const CommandLine& line, std::unique_ptr<LogOutput> file,
                                           const QString& path, QString& error)
{
    const std::optional<PublishTarget> target = PublishOptions::Target(line, error);
    if (!target)
        return error.isEmpty() ? std::move(file) : nullptr;
    return std::make_unique<PublishingOutput>(std::move(file), *target, QFileInfo(path).fileName());
}

} // namespace

const QString LogCommand::ReconnectOption = QStringLiteral("--reconnect");

QString LogCommand::ReconnectFrom(const CommandLine& line, ReconnectPolicy& policy)
{
    policy = ReconnectPolicy();
    if (!line.Has(ReconnectOption))
        return QString();
    policy.Enabled = true;
    const QString value = line.Value(ReconnectOption);
    if (value.isEmpty())
        return QString();
    policy.Seconds = CommandLine::ParseSeconds(value);
    if (!policy.Seconds)
        return QStringLiteral("%1=SECONDS takes a number of seconds").arg(ReconnectOption);
    return QString();
}

int LogCommand::Run(const QStringList& words)
{
    CommandLine line;
    if (!line.Parse(words, PublishOptions::With({{RunOptions::Rate, true}, {RunOptions::Channel, true}, {RunOptions::Filter, true}, {OutputOption, true},
                            {FormatOption, true}, {DurationOption, true}, {RunsOption, true}, {ForceOption, false},
                            {BoardConnection::StallOption, true}, {BoardChoice::Option, true},
                            {ReconnectOption, true, true}, {StopWithStdinOption, false}, {Usage::HelpOption, false}})))
        return Usage::Fail(line.Error());
    if (line.Has(Usage::HelpOption))
        return Usage::Help(QString::fromUtf8(HelpText));
    if (!line.Positional().isEmpty())
        return Usage::Fail(QStringLiteral("log takes no file name but -o OUT.csv"));
    const QString path = line.Value(OutputOption);
    QString moduleError;
    std::unique_ptr<LogOutput> file = OutputFor(line, path, moduleError);
    if (!moduleError.isEmpty()) {
        Console::Err(QStringLiteral("korvadex-cli: cannot write %1: %2").arg(path, moduleError));
        return ExitUsageOrFile;
    }
    if (!file)
        return Usage::Fail(QStringLiteral("%1 takes text or hdf5").arg(FormatOption));
    QString publishError;
    const std::unique_ptr<LogOutput> output = PublishedOutput(line, std::move(file), path, publishError);
    if (!output)
        return Usage::Fail(publishError);
    const auto run = std::make_unique<RunData>();
    LogLimits limits;
    ReconnectPolicy reconnect;
    QString error = SettingsFrom(line, run->Settings);
    if (error.isEmpty())
        error = LimitsFrom(line, limits);
    if (error.isEmpty())
        error = ReconnectFrom(line, reconnect);
    if (!error.isEmpty())
        return Usage::Fail(error);
    const auto stallTimeout = BoardConnection::StallTimeout(line);
    if (!stallTimeout)
        return Usage::Fail(QStringLiteral("%1 takes a number of seconds").arg(BoardConnection::StallOption));
    if (!line.Has(ForceOption) && QFileInfo::exists(path)) {
        Console::Err(QStringLiteral("korvadex-cli: %1 exists; --force replaces it").arg(path));
        return ExitUsageOrFile;
    }

    if (line.Has(StopWithStdinOption))
        InterruptFlag::RaiseAtInputEnd();
    BoardConnection board(*stallTimeout, BoardChoice::Serial(line));
    const ExitCode connected = board.Connect();
    if (connected != ExitDone)
        return connected;
    LogSession session(board, *output, *run, limits, reconnect);
    if (!output->Open(path) || !session.WriteHead(KORVADEX_VERSION)) {
        Console::Err(QStringLiteral("korvadex-cli: cannot write %1: %2").arg(path, output->Error()));
        return ExitUsageOrFile;
    }
    const ExitCode result = session.LogRuns();
    if (result == ExitUsageOrFile)
        Console::Err(QStringLiteral("korvadex-cli: cannot write %1: %2").arg(path, output->Error()));
    if (!session.Failure().isEmpty())
        Console::Err(QStringLiteral("korvadex-cli: the log ended: %1").arg(session.Failure()));
    if (result == ExitBoardGone)
        Console::Err(QStringLiteral("korvadex-cli: the board did not come back within %1 s")
                         .arg(line.Value(ReconnectOption)));
    Console::Out(QStringLiteral("%1: %2 runs, %3 samples").arg(path).arg(session.Runs()).arg(session.Samples()));
    return result;
}
