#pragma once

#include "WindowRig.h"

#include "FormMainProbe.h"

#include <QString>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

// A window ready to measure on the virtual board: the lists are chosen, the
// start button pressed, and the run driven pass by pass while the test moves
// the board's clock.
struct MeasureRig : WindowRig {
    MeasureRig();

    // Every sample one code more than the last, from start; CH1 is CH0 + 0x800000.
    void CountFrom(std::uint32_t start);
    void Choose(int rate, int count, int channel, bool sinc5 = false);
    void Press();
    // The commands sent since the last call.
    std::vector<std::string> TakeCommands();

    // Lets board time pass, then runs idle passes until the run has ended
    // (at most limit passes).
    void RunToEnd(std::chrono::milliseconds boardTime, int limit = 200000);
    // Runs idle passes, the board's clock moving step before each, until done().
    void PassUntil(const std::function<bool()>& done, std::chrono::milliseconds step, int limit = 100000);

    QString MeasureCaption() const;
    bool Unlocked() const;

    FormMainProbe probe;
};

const char* const NotFoundBox = "KORVADEX が見つかりませんでした";
const char* const NoResponseBox = "KORVADEX が応答しませんでした";
const char* const NotFoundPanel = "KORVADEX Board が見つかりませんでした";
