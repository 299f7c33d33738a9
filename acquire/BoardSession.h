#pragma once

#include "Ad7175.h"
#include "ExitCode.h"

#include <QString>

#include <chrono>
#include <cstdint>
#include <functional>

class D2xx;
struct MeasureSettings;
class RunData;
class WindowTexts;

// How a run is watched from outside.
struct RunControl {
    // Called after every read that brought samples (pairs).
    std::function<void(std::int32_t taken, std::int32_t total)> Progress;
    // Polled between reads; true stops the run like the window's stop button.
    std::function<bool()> Interrupted;
    // A run that brings no sample for this long has failed (the window would
    // wait for the operator; a script has no one to press stop).
    std::chrono::milliseconds StallTimeout{10000};
};

// The board as the window drives it: identified once ("?", "U?" that must
// answer "KORVADEX", "V?"), then configured and read for each run with the
// window's chunk sizes. Failures are told through the window's texts in the
// window's words and returned as an exit code.
class BoardSession {
public:
    BoardSession(D2xx& driver, WindowTexts& texts);

    // ExitDone, ExitNotFound or ExitNoResponse. Every failure closes the link.
    ExitCode Connect();
    // "KORVADEX / V1.00", the window's first status panel after Connect.
    QString Identity() const;

    // One run of run.Settings: filter, rate, then the channel mode and the
    // count of the count item; the samples land in run's arrays. ExitDone:
    // the run holds every sample. ExitStopped: "AX" sent and the link closed;
    // the run holds the samples taken when there were at least 10, else none.
    // ExitBoardError, ExitReadError: the run holds nothing.
    ExitCode Measure(RunData& run, const RunControl& control);

    // Why the last run failed, if it did.
    enum class Failure { None, Refused, ReadError, Stall };
    Failure LastFailure() const { return failure_; }
    // For a Refused run, what the board answered in place of "OK", or that
    // it did not answer ("no reply to F1 within 100 ms").
    const QString& SettingFault() const { return settingFault_; }
    // Closes the link a failed run left open.
    void Disconnect() { adc_.CloseBoard(); }

private:
    bool Configure(const MeasureSettings& settings);
    static std::int32_t ReadSize(const MeasureSettings& settings, std::int32_t target);
    bool ReadChunk(RunData& run, std::int32_t at, std::int32_t chunk, std::int32_t& got);
    ExitCode NoResponse();
    ExitCode ReadFailed(RunData& run);
    ExitCode Stopped(RunData& run, std::int32_t taken);

    TADC adc_;
    WindowTexts& texts_;
    Failure failure_ = Failure::None;
    QString settingFault_;
};
