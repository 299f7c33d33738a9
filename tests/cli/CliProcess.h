#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

#include "ProcessStop.h"

#include <functional>

class QProcess;

// korvadex-cli run as a process, the way a script runs it: its exit code and
// everything it wrote. The board is the virtual one: the drop-in driver
// library is on the loader path and told by the KORVADEX_SIM_* variables
// given (none of the caller's own reach the program, nor its KORVADEX_BOARD).
struct CliResult {
    bool Finished = false;
    int ExitCode = -1;
    QString Out;
    QString Err;
    QStringList OutLines() const;
};

class CliProcess {
public:
    using Environment = QMap<QString, QString>;

    static CliResult Run(const QStringList& arguments, const Environment& board = {});
    // With the process set up by prepare before its start (e.g. FileSizeLimit).
    static CliResult RunPrepared(const QStringList& arguments, const Environment& board,
                                 const std::function<void(QProcess&)>& prepare);
    // Stops the program once `ready` holds (polled every 20 ms, for at most
    // a minute).
    static CliResult RunSignalledWhen(const QStringList& arguments, const Environment& board,
                                      const std::function<bool()>& ready, Stop how);

private:
    static void Start(QProcess& process, const QStringList& arguments, const Environment& board);
    static CliResult Finish(QProcess& process);
};
