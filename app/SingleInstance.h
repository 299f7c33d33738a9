#pragma once

#include <QString>

#include <memory>

class QWidget;

// Lets one copy of the program run at a time on one desktop. The first copy
// holds a guard for as long as it runs and answers later copies; a later copy
// finds the first one and asks it to bring its window to the front. Only the
// guard is platform code (SingleInstance_posix.cpp, SingleInstance_win.cpp).
class SingleInstance {
public:
    // name: the guard's name, "KORVADEX" for the program. folder: where a
    // file-based guard lives (DefaultFolder() for the program; the tests use
    // their own); the Windows guard is a named kernel object and ignores it.
    SingleInstance(const QString& name, const QString& folder);
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    static QString DefaultFolder();

    // True unless another copy holds the guard; this copy then holds it until
    // the process ends. A guard that cannot be made at all leaves the copy
    // running unguarded.
    bool Claim();

    // After a refused Claim: whether the first copy's window can be reached
    // (it cannot while that copy is still starting or already closing).
    bool FindOther();

    // Asks the copy found by FindOther to show its window normally (restoring
    // it if it was minimised) and bring it to the front.
    void ActivateOther();

    // The first copy, once its window exists: from now on later copies can
    // find it, and their requests bring window to the front.
    void AnswerOthers(QWidget* window);

private:
    struct Guard;
    std::unique_ptr<Guard> guard_;
};

// Shows the window in its normal state, raises it and makes it active.
void BringWindowToFront(QWidget* window);
