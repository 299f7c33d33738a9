#include "ChannelStats.h"

#include <cmath>

void ComputeCodeStats(const ChannelData& channel, ChannelStats& stats)
{
    const std::int32_t n = channel.Count;
    if (n == 0)
        return;

    double sum = 0.0;
    for (std::int32_t i = 0; i < n; ++i)
        sum += channel.Codes[i];
    stats.MeanCode = static_cast<std::int32_t>(sum / n);

    double squares = 0.0;
    for (std::int32_t i = 0; i < n; ++i) {
        // The difference is taken in integers, as the codes are; 64 bits keep
        // it exact whatever the codes hold.
        const double d = static_cast<double>(static_cast<std::int64_t>(channel.Codes[i]) - stats.MeanCode);
        squares += d * d;
    }
    stats.DevCode = static_cast<float>(std::sqrt(squares / n));
}

void ComputeMicrovoltStats(const ChannelData& channel, ChannelStats& stats)
{
    const std::int32_t n = channel.Count;
    if (n == 0)
        return;

    double sum = 0.0;
    for (std::int32_t i = 0; i < n; ++i)
        sum += channel.Microvolts[i];
    stats.MeanMicrovolts = static_cast<float>(sum / n);

    double squares = 0.0;
    for (std::int32_t i = 0; i < n; ++i) {
        const double d = static_cast<double>(channel.Microvolts[i]) - static_cast<double>(stats.MeanMicrovolts);
        squares += d * d;
    }
    stats.DevMicrovolts = static_cast<float>(std::sqrt(squares / n));
}
