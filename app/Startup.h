#pragma once

#include "WindowServices.h"

#include <QString>

class MessagePresenter;
class QApplication;

// What start-up needs beyond the window's own services.
struct StartupServices {
    QString GuardName;           // "KORVADEX"
    QString GuardFolder;         // SingleInstance::DefaultFolder() for the program
    MessagePresenter& Notices;   // the second copy's notice and the last-resort error display
    WindowServices Window;
};

// The program from start to end: the single-instance guard, the application
// title, the main window and the event loop until that window is closed.
// Returns the exit code: 1 when another copy is running, else 0.
int RunProgram(QApplication& application, const StartupServices& services);
