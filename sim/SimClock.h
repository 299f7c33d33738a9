#pragma once

#include <chrono>

// The board's notion of time: nanoseconds since the clock began.
using BoardTime = std::chrono::nanoseconds;

// Where the virtual board takes the time from. It reads the clock once per
// driver call and works out lazily what the board did since the last call, so
// the clock alone decides how fast a run goes: real time, faster than real
// time, or a clock that a test moves by hand.
class SimClock {
public:
    virtual ~SimClock() = default;

    // Never goes backwards.
    virtual BoardTime Now() = 0;
};
