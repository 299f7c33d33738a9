#include "CliProcess.h"

#include "TestApplication.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QProcessEnvironment>

namespace {

// Far beyond any run of the suite; a program still running then has hung.
constexpr int HangMs = 60000;

QProcessEnvironment BoardEnvironment(const CliProcess::Environment& board)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    // Each case sets the board it wants; where the board runs (in the
    // program or in a process of its own) is the run's choice.
    for (const QString& name : environment.keys()) {
        if ((name.startsWith(QLatin1String("KORVADEX_SIM_")) && name != QLatin1String("KORVADEX_SIM_PROCESS"))
            || name == QLatin1String("KORVADEX_BOARD"))
            environment.remove(name);
    }
    // The drop-in library's folder, unless the caller names another.
    // LD_LIBRARY_PATH holds it alone; Windows finds Qt's and the system's
    // DLLs on PATH too, so there it goes first.
    const QString variable = QStringLiteral(LIBRARY_PATH_VARIABLE);
    QString path = board.value(variable, QStringLiteral(SIM_D2XX_DIR));
    if (variable == QLatin1String("PATH"))
        path += QDir::listSeparator() + environment.value(variable);
    for (auto it = board.begin(); it != board.end(); ++it)
        environment.insert(it.key(), it.value());
    environment.insert(variable, path);
    return environment;
}

} // namespace

QStringList CliResult::OutLines() const
{
    return Out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

CliResult CliProcess::Run(const QStringList& arguments, const Environment& board)
{
    QProcess process;
    Start(process, arguments, board);
    return Finish(process);
}

CliResult CliProcess::RunPrepared(const QStringList& arguments, const Environment& board,
                                  const std::function<void(QProcess&)>& prepare)
{
    QProcess process;
    prepare(process);
    Start(process, arguments, board);
    return Finish(process);
}

CliResult CliProcess::RunSignalledWhen(const QStringList& arguments, const Environment& board,
                                       const std::function<bool()>& ready, Stop how)
{
    QProcess process;
    Start(process, arguments, board);
    QElapsedTimer waited;
    waited.start();
    while (!ready() && waited.elapsed() < HangMs && !process.waitForFinished(20)) {
    }
    if (process.state() == QProcess::Running)
        StopProcess(process, how);
    return Finish(process);
}

void CliProcess::Start(QProcess& process, const QStringList& arguments, const Environment& board)
{
    EnsureTestApplication();
    process.setProcessEnvironment(BoardEnvironment(board));
    PrepareToStop(process);
    process.start(QStringLiteral(CLI_PROGRAM), arguments);
    process.waitForStarted();
}

CliResult CliProcess::Finish(QProcess& process)
{
    CliResult result;
    result.Finished = process.waitForFinished(HangMs);
    if (!result.Finished) {
        process.kill();
        process.waitForFinished();
    }
    result.ExitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.Out = QString::fromUtf8(process.readAllStandardOutput());
    result.Err = QString::fromUtf8(process.readAllStandardError());
    return result;
}
