#pragma once

#include "TestDoubles.h"

#include "KORVADEX_Main.h"
#include "ManualClock.h"
#include "QtStatusBar.h"
#include "VirtualBoard.h"

#include <QApplication>
#include <QString>

#include <gtest/gtest.h>

#include <memory>

// A main window on a virtual board whose clock stands still unless a test
// moves it, with every box, question and dialog recorded instead of shown.
struct WindowRig {
    explicit WindowRig(ComponentFactory* factory = nullptr);
    ~WindowRig();

    template <typename T>
    T* Find(const char* name) const
    {
        T* found = window->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    QtStatusBar& Bar() const;
    QString Panel(int panel) const;
    QString Label(const char* name) const;
    // The text of the one box shown so far, or how many there were.
    QString OnlyBox() const;
    // Runs the event loop until no idle pass is due (at most a second).
    void Settle();

    ManualClock clock;
    VirtualBoard board;
    RecordingD2xx driver;
    RecordingPresenter messages;
    ScriptedConfirm confirm;
    ScriptedFiles files;
    ComponentFactory components;
    std::unique_ptr<TFormMain> window;
};
