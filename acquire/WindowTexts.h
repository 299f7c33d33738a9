#pragma once

#include "Mymessage.h"
#include "Mystatus.h"
#include "RunNotices.h"
#include "StatusTexts.h"

#include <QString>

// The window's error boxes and status-bar texts, made by the window's own
// classes with the window's device names: the boxes go to the notices, the
// status texts are kept so that the caller can tell the one it needs.
class WindowTexts {
public:
    static constexpr int BoardPanel = 0;
    static constexpr int RunPanel = 1;
    static constexpr int InfoPanel = 2;

    explicit WindowTexts(RunNotices& notices);
    WindowTexts(const WindowTexts&) = delete;
    WindowTexts& operator=(const WindowTexts&) = delete;

    TmyMessage& Messages() { return messages_; }
    TmyStatus& Status() { return status_; }
    QString Panel(int panel) const { return panels_.Text(panel); }
    // The boxes that follow name this (a file) in front of their text.
    void SetSubject(const QString& subject) { notices_.SetSubject(subject); }
    // Tells a status panel's text.
    void PrintPanel(int panel) const { notices_.Tell(Panel(panel)); }
    void Tell(const QString& line) const { notices_.Tell(line); }

private:
    RunNotices& notices_;
    TmyMessage messages_;
    StatusTexts panels_;
    TmyStatus status_;
};
