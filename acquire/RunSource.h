#pragma once

#include "ExitCode.h"

#include <QString>

#include <cstdint>
#include <functional>

class RunData;

// What a caller may watch in a run besides its own progress display.
struct RunWatch {
    // After every read that brought samples: the samples (pairs) taken so far.
    std::function<void(std::int32_t taken)> Arrived;
    // Polled between reads beside the operator's stop: true stops the run as
    // the operator's stop does.
    std::function<bool()> StopWanted;
};

// An identified board that takes runs one after the other, with whatever
// progress display and stop request (Ctrl-C, a script's interrupt) its
// owner gives it.
class RunSource {
public:
    virtual ~RunSource() = default;

    // "KORVADEX / V1.00"
    virtual QString Identity() const = 0;
    // The board's serial number, empty when the driver gives none.
    virtual QString Serial() const { return QString(); }
    // One run of run.Settings; label names it beside a progress display.
    virtual ExitCode Measure(RunData& run, const QString& label, const RunWatch& watch) = 0;
    // Whether the operator asked for the last stop, rather than a StopWanted.
    virtual bool OperatorStopped() const = 0;

    // After a run that failed with a read error or a board error: closes the
    // link and names the cause in a few words ("read error").
    virtual QString Disconnect() = 0;
    // One look for the same board: true when it is attached again and has
    // been identified anew, ready for the next run.
    virtual bool Reconnect() = 0;
};
