#pragma once

#include "WindowServices.h"

#include <QString>

class GuardedApplication;
class MessagePresenter;

// What start-up needs beyond the window's own services.
struct StartupServices {
    QString GuardName;           // "KORVADEX"
    QString GuardFolder;         // SingleInstance::DefaultFolder() for the program
    MessagePresenter& Notices;   // the second copy's notice and the last-resort error display
    WindowServices Window;
};

// The program from start to end: the single-instance guard, the application
// title, the main window (and a log given as the first argument, in the log
// window) and the event loop until that window is closed. An
// exception from the window's creation or the loop ends the program, one from
// an event handler only that event; both are shown in the Notices box.
// Returns the exit code: 1 when another copy is running, else 0.
int RunProgram(GuardedApplication& application, const StartupServices& services);
