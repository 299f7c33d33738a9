#pragma once

#include <QString>

// Lines of text on standard output and standard error, as UTF-8. Every line
// is flushed at once, so a script or a pager sees a table row the moment it
// is complete. A line left open on standard error (the progress bar) is
// ended before anything else is written, so no message lands behind a bar.
class Console {
public:
    static void Out(const QString& line);
    static void Err(const QString& line);
    // Text without a line end, for the progress bar's carriage-return updates.
    static void ErrOpen(const QString& text);
    // Ends the open line of ErrOpen, if any, keeping its text.
    static void EndOpenLine();
    // Blanks the open line of ErrOpen, if any, and returns to its start.
    static void EraseOpenLine();
    // Whether a line meant for standard output could not be written whole.
    static bool OutLost();
};
