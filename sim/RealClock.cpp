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

std::chrono::steady_clock::time_point RealClock::WallTime(BoardTime t) const
{
    const auto wall = std::chrono::duration<double, std::nano>(static_cast<double>(t.count()) / speed_);
    return start_ + std::chrono::duration_cast<std::chrono::steady_clock::duration>(wall);
}
