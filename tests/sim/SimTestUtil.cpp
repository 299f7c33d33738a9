#include "SimTestUtil.h"

#include <gtest/gtest.h>

BoardConfig CounterBoard()
{
    BoardConfig config;
    config.Signals.CounterPattern = true;
    config.Signals.CounterStart = CounterStart;
    config.Signals.CounterCh1Offset = CounterCh1Offset;
    config.Signals.Seed = 7;
    return config;
}

BoardFaults FaultsWith(void (*set)(BoardFaults&))
{
    BoardFaults faults;
    set(faults);
    return faults;
}

std::vector<std::int32_t> DecodeCodes(const std::string& bytes)
{
    std::vector<std::int32_t> codes;
    for (std::size_t i = 0; i + 3 <= bytes.size(); i += 3) {
        const auto byte = [&](std::size_t k) { return static_cast<std::int32_t>(static_cast<unsigned char>(bytes[i + k])); };
        codes.push_back((byte(0) << 16) | (byte(1) << 8) | byte(2));
    }
    return codes;
}

long FirstBreak(const std::vector<std::int32_t>& codes)
{
    for (std::size_t i = 1; i < codes.size(); ++i) {
        if (codes[i] != ((codes[i - 1] + 1) & 0xFFFFFF))
            return static_cast<long>(i);
    }
    return -1;
}

std::vector<std::int32_t> Channel(const std::vector<std::int32_t>& frames, std::size_t channel)
{
    std::vector<std::int32_t> codes;
    for (std::size_t i = channel; i < frames.size(); i += 2)
        codes.push_back(frames[i]);
    return codes;
}

void ExpectCounterRun(const std::vector<std::int32_t>& codes, int mode, std::size_t count)
{
    const std::size_t channels = mode == 2 ? 2 : 1;
    ASSERT_EQ(codes.size(), count * channels);
    for (std::size_t channel = 0; channel < channels; ++channel) {
        const std::vector<std::int32_t> one = channels == 2 ? Channel(codes, channel) : codes;
        const bool isCh1 = mode == 1 || channel == 1;
        EXPECT_EQ(one.front(), CounterStart + (isCh1 ? CounterCh1Offset : 0)) << "channel " << channel;
        EXPECT_EQ(FirstBreak(one), -1) << "channel " << channel;
    }
}
