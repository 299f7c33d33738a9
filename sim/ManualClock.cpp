#include "ManualClock.h"

ManualClock::ManualClock(BoardTime stepPerReading)
    : step_(stepPerReading > BoardTime::zero() ? stepPerReading : BoardTime::zero())
{
}

BoardTime ManualClock::Now()
{
    const BoardTime reading = now_;
    now_ += step_;
    return reading;
}

void ManualClock::Advance(BoardTime by)
{
    if (by > BoardTime::zero())
        now_ += by;
}
