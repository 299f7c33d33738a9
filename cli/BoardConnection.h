#pragma once

#include "BoardSession.h"
#include "ChosenD2xx.h"
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

// What the board commands share: the driver from the window's D2XX loader
// with the board chosen among the attached FTDI devices (--board), the
// window's texts, Ctrl-C as a stop request, and a progress bar on standard
// error while a run is read.
class BoardConnection : public RunSource {
public:
    static const QString StallOption;  // "--stall-timeout"
    static constexpr std::chrono::milliseconds DefaultStallTimeout{10000};

    // An empty serial chooses none: then the only device attached is used.
    BoardConnection(std::chrono::milliseconds stallTimeout, const QString& serial);

    // --stall-timeout SECONDS, or the default; nothing when the value is not
    // a time.
    static std::optional<std::chrono::milliseconds> StallTimeout(const CommandLine& line);

    // Chooses the device (BoardChoice), then identifies the board as the
    // window does.
    ExitCode Connect();
    QString Identity() const override { return session_.Identity(); }
    QString Serial() const override { return boardSerial_; }
    // Several boards measured at once draw no progress bar.
    void HideProgress() { showProgress_ = false; }
    // One run of run.Settings; label names it beside the progress bar.
    ExitCode Measure(RunData& run, const QString& label, const RunWatch& watch = {}) override;
    // Ctrl-C.
    bool OperatorStopped() const override;
    // The cause is a pulled cable when the board has left the device list.
    QString Disconnect() override;
    // The same board: by its serial number in the device list, or, with a
    // driver without one, device 0 that opens and identifies.
    bool Reconnect() override;

private:
    bool BoardAttached();

    std::unique_ptr<D2xx> driver_;
    ChosenD2xx chosen_;
    QString serial_;
    QString boardSerial_;  // of the board in use, when the driver lists devices
    ConsoleMessages console_;
    WindowTexts texts_;
    BoardSession session_;
    std::chrono::milliseconds stallTimeout_;
    bool showProgress_ = true;
};
