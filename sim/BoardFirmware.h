#pragma once

#include "BoardConfig.h"
#include "BoardOutput.h"
#include "ConverterModel.h"
#include "SignalSource.h"
#include "SimClock.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

// The controller on the board: it collects command bytes up to CR, answers
// them, and during a run sends the converter's samples at the data rate into
// the USB bridge. When the bridge has no room (the host does not read), the
// controller cannot wait, since the converter keeps converting, so the
// sample is lost and counted; the run still sends its full count.
class BoardFirmware {
public:
    explicit BoardFirmware(const BoardConfig& config);

    void SetSignals(const SignalConfig& inputs);
    void SetFaults(const BoardFaults& faults);

    // Bytes from the host arriving at time t; every command is carried out
    // the moment its CR arrives.
    void Receive(const std::uint8_t* data, std::size_t count, BoardTime t, BoardOutput& out);

    // Sends every sample of the run that is due by time until.
    void Produce(BoardTime until, BoardOutput& out);

    bool Running() const;
    // A run that sent its StallAfterSamples and sends no more.
    bool StreamStalled() const { return run_ && Stalled(); }

    // When the run will have sent at least bytes more bytes, if it streams
    // that far; nothing while idle, stalled or when the run ends before.
    std::optional<BoardTime> TimeToSend(std::size_t bytes) const;

    // Samples (frames in mode 2) the host was too slow for, since power-up.
    std::uint64_t LostSamples() const;

private:
    struct Run {
        int Mode = 0;
        std::uint64_t Count = 0;        // samples or frames to send
        std::uint64_t Sent = 0;
        std::uint64_t Conversions = 0;  // sent or lost
        BoardTime Start{0};
        double UnitsPerSecond = 0.0;
    };

    void Execute(BoardTime t, BoardOutput& out);
    std::optional<std::string> CarryOutSetOrQuery();
    bool StartRun(BoardTime t);
    void Reply(const std::string& text, BoardTime t, BoardOutput& out);

    BoardTime DueTime(std::uint64_t conversion) const;
    std::size_t UnitBytes() const;
    bool Stalled() const;
    void SendUnit(BoardTime due, BoardOutput& out);
    void LoseConversionsUntil(BoardTime until);

    BoardConfig config_;
    SignalSource signals_;
    std::string line_;
    bool lineTooLong_ = false;
    int rateIndex_ = 0;
    Filter filter_ = Filter::Sinc5Sinc1;
    std::optional<Run> run_;
    std::uint64_t lost_ = 0;
};
