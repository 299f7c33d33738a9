#pragma once

#include "SimClock.h"

#include <chrono>

// The monotonic clock of the machine, optionally running faster (or slower)
// than real time by a fixed factor: at speed 10 a 125 ksps run delivers
// 1.25 million samples a second of wall time.
class RealClock : public SimClock {
public:
    // speed must be positive; 1 is real time.
    explicit RealClock(double speed = 1.0);

    BoardTime Now() override;
    // The moment of the machine's clock at which the board's clock reads t.
    std::chrono::steady_clock::time_point WallTime(BoardTime t) const;

private:
    std::chrono::steady_clock::time_point start_;
    double speed_;
};
