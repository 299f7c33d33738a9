#pragma once

#include "BoardSession.h"
#include "ChosenD2xx.h"
#include "D2xx.h"
#include "DeviceList.h"
#include "KeptNotices.h"
#include "MeasureSettings.h"
#include "WindowTexts.h"

#include <pybind11/pybind11.h>

#include <QString>

#include <chrono>
#include <memory>
#include <vector>

class RunCore;

// The board as the window drives it, for Python: the driver found as the
// companion finds it, identification, and runs read with the GIL released.
// Failures raise the package's exceptions with the window's texts.
class BoardCore {
public:
    // The board with that serial number; with none, KORVADEX_BOARD's, else
    // the only FTDI device attached.
    explicit BoardCore(const QString& serial);
    BoardCore(const BoardCore&) = delete;
    BoardCore& operator=(const BoardCore&) = delete;

    // The choice of device, then "?", "U?" answering "KORVADEX", "V?":
    // BoardNotFound (the window's text with why as its reason, or the
    // devices to choose from) or NoResponse.
    void Connect();
    // Closes the link; the next Measure identifies the board again.
    void Close();
    bool Connected() const { return session_ != nullptr; }
    // The FTDI devices attached, as korvadex-cli devices lists them; none
    // when the driver cannot list them.
    static std::vector<FtdiDevice> Devices();
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
    ChosenD2xx chosen_;
    QString serial_;
    KeptNotices notices_;
    WindowTexts texts_;
    std::unique_ptr<BoardSession> session_;
    bool reading_ = false;
};
