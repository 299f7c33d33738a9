#include "ProcessStop.h"

#include <QProcess>

#include <csignal>

void StopProcess(QProcess& process, Stop how)
{
    ::kill(static_cast<pid_t>(process.processId()), how == Stop::CtrlC ? SIGINT : SIGKILL);
}

void PrepareToStop(QProcess&)
{
    // A signal reaches the one process it is sent to.
}
