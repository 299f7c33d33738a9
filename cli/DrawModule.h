#pragma once

#include <QString>

// The commands that draw, plot and report, live in the module korvadex-draw
// with Qt Gui, fonts and the platform: the other commands start without
// them.
struct DrawModuleEntries {
    // Runs the drawing command: makes the Gui application from the
    // program's arguments, runs, and returns the exit code.
    int (*Run)(const QString& command, int& argc, char** argv);
};

class DrawModule {
public:
    // plot, report, and results --report.
    static bool Draws(const QString& command, int argc, char** argv);
    // The command's exit code; 2 with the reason on standard error when the
    // module cannot be loaded.
    static int Run(const QString& command, int& argc, char** argv);
};
