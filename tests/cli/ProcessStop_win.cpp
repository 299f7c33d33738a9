#include "ProcessStop.h"

#include <QProcess>

#include <windows.h>

// Ctrl-C reaches every process on a console. The program therefore gets a
// hidden console of its own, and the test joins it for the moment it
// presses Ctrl-C, ignoring the event itself: the console the tests were
// started from (ctest's, the operator's) never sees it.
void PrepareToStop(QProcess& process)
{
    process.setCreateProcessArgumentsModifier([](QProcess::CreateProcessArguments* arguments) {
        arguments->flags |= CREATE_NEW_CONSOLE;
        arguments->startupInfo->dwFlags |= STARTF_USESHOWWINDOW;
        arguments->startupInfo->wShowWindow = SW_HIDE;
    });
}

void StopProcess(QProcess& process, Stop how)
{
    if (how == Stop::Kill) {
        process.kill();
        return;
    }
    SetConsoleCtrlHandler(nullptr, TRUE);
    FreeConsole();
    if (AttachConsole(static_cast<DWORD>(process.processId()))) {
        GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0);
        FreeConsole();
    }
    AttachConsole(ATTACH_PARENT_PROCESS);
}
