#include "ProcessStop.h"

#include <QProcess>

#include <windows.h>

// Ctrl-C reaches every process on a console, so the test joins the
// program's console for the moment it presses it, ignores the event itself
// from then on, and goes back to the console it was started on.
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
