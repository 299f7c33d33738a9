#include "RealClock.h"

RealClock::RealClock(double speed)
    : start_(std::chrono::steady_clock::now())
    , speed_(speed > 0.0 ? speed : 1.0)
{
}

BoardTime RealClock::Now()
{
    const auto elapsed = std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - start_);
    return BoardTime(static_cast<BoardTime::rep>(elapsed.count() * speed_));
}
