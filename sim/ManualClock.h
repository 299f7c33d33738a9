#pragma once

#include "SimClock.h"

// A clock for deterministic tests. It stands still until Advance moves it;
// with a step it also moves by that step after every reading, so code that
// polls the board in a loop (the link's reply waits) sees time pass without
// the test stepping in.
class ManualClock : public SimClock {
public:
    explicit ManualClock(BoardTime stepPerReading = BoardTime::zero());

    BoardTime Now() override;

    // Negative durations are ignored: the clock never goes backwards.
    void Advance(BoardTime by);

private:
    BoardTime now_{0};
    BoardTime step_;
};
