#pragma once

#include "BoardSession.h"
#include "ConsoleMessages.h"
#include "D2xx.h"
#include "ExitCode.h"
#include "RunSource.h"
#include "WindowTexts.h"

#include <QString>

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>

class CommandLine;

// What the board commands share: the driver from the window's D2XX loader,
// the window's texts, Ctrl-C as a stop request, and a progress bar on
// standard error while a run is read.
class BoardConnection : public RunSource {
public:
    static const QString StallOption;  // "--stall-timeout"
    static constexpr std::chrono::milliseconds DefaultStallTimeout{10000};

    explicit BoardConnection(std::chrono::milliseconds stallTimeout);

    // --stall-timeout SECONDS, or the default; nothing when the value is not
    // a time.
    static std::optional<std::chrono::milliseconds> StallTimeout(const CommandLine& line);

    // Identifies the board as the window does.
    ExitCode Connect();
    QString Identity() const override { return session_.Identity(); }
    // One run of run.Settings; label names it beside the progress bar.
    ExitCode Measure(RunData& run, const QString& label, const RunWatch& watch = {}) override;
    // Ctrl-C.
    bool OperatorStopped() const override;

private:
    std::unique_ptr<D2xx> driver_;
    ConsoleMessages console_;
    WindowTexts texts_;
    BoardSession session_;
    std::chrono::milliseconds stallTimeout_;
};
