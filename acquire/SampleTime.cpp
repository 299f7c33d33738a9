#include "SampleTime.h"

#include <algorithm>
#include <cmath>

std::int64_t SampleTime::IndexAt(const QDateTime& start, const QDateTime& time, double rate, std::int64_t samples)
{
    const double seconds = static_cast<double>(start.msecsTo(time)) / 1000.0;
    const double index = std::ceil(seconds * rate - 1e-9);
    return static_cast<std::int64_t>(std::clamp(index, 0.0, static_cast<double>(samples)));
}
