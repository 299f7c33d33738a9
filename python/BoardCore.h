#pragma once

#include "BoardSession.h"
#include "D2xx.h"
#include "KeptNotices.h"
#include "MeasureSettings.h"
#include "WindowTexts.h"

#include <pybind11/pybind11.h>

#include <QString>

#include <chrono>
#include <memory>

class RunCore;

// The board as the window drives it, for Python: the driver found as the
// companion finds it, identification, and runs read with the GIL released.
// Failures raise the package's exceptions with the window's texts.
class BoardCore {
public:
    BoardCore();
    BoardCore(const BoardCore&) = delete;
    BoardCore& operator=(const BoardCore&) = delete;

    // "?", "U?" answering "KORVADEX", "V?": BoardNotFound or NoResponse.
    void Connect();
    // Closes the link; the next Measure identifies the board again.
    void Close();
    bool Connected() const { return session_ != nullptr; }
    // "KORVADEX / V1.00".
    QString Identity() const;

    // One run. progress(taken, total) is called after every read that
    // brought samples; an exception from it, or a signal's (Ctrl-C's
    // KeyboardInterrupt), stops the run as the stop button does ("AX", the
    // link closed) and is raised again. BoardError and ReadError (carrying
    // the run of the samples taken) otherwise.
    std::unique_ptr<RunCore> Measure(const MeasureSettings& settings, pybind11::object progress,
                                     std::chrono::milliseconds stallTimeout);

private:
    // RuntimeError from another thread than the event loop's, or from a
    // progress callback while a run is read.
    void RefuseUnsafeUse() const;

    std::unique_ptr<D2xx> driver_;
    KeptNotices notices_;
    WindowTexts texts_;
    std::unique_ptr<BoardSession> session_;
    bool reading_ = false;
};
