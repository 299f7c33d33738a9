#pragma once

#include "ConsoleMessages.h"
#include "Mymessage.h"
#include "Mystatus.h"
#include "StatusTexts.h"

#include <QString>

// The window's error boxes and status-bar texts, made by the window's own
// classes with the window's device names: the boxes go to standard error as
// lines, the status texts are kept so a command can print the one it needs.
class WindowTexts {
public:
    static constexpr int BoardPanel = 0;
    static constexpr int RunPanel = 1;
    static constexpr int InfoPanel = 2;

    WindowTexts();
    WindowTexts(const WindowTexts&) = delete;
    WindowTexts& operator=(const WindowTexts&) = delete;

    TmyMessage& Messages() { return messages_; }
    TmyStatus& Status() { return status_; }
    QString Panel(int panel) const { return panels_.Text(panel); }
    // The boxes that follow name this (a file) in front of their text.
    void SetSubject(const QString& subject) { console_.SetSubject(subject); }
    // Prints a status panel's text on standard error.
    void PrintPanel(int panel) const;

private:
    ConsoleMessages console_;
    TmyMessage messages_;
    StatusTexts panels_;
    TmyStatus status_;
};
