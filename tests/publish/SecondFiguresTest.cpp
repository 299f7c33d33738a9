#include "SecondFigures.h"

#include "RunData.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

struct Expected {
    const char* Second;
    std::int64_t Samples;
    std::int32_t MinCode;
    std::int32_t MaxCode;
};

// Two runs at 10 ksps, the second starting in the second where the first
// ends: seconds by sample time (the run's start plus index / rate), fed in
// pieces that do not fall on them, and the shared second summed over both.
TEST(SecondFigures, GathersEachWholeSecondOfSampleTime)
{
    auto run = std::make_unique<RunData>();
    run->Settings.spsSel = 11;  // 10 ksps
    run->Settings.CHSel = ModeCh0;
    run->Settings.GainDivisor = 1;
    std::vector<SecondSummary> seconds;
    SecondFigures figures(run->Settings, [&](const SecondSummary& second) { seconds.push_back(second); });
    const auto feed = [&](const char* start, std::int32_t count, std::int32_t firstCode) {
        for (std::int32_t i = 0; i < count; ++i)
            run->Ch0Codes[i] = firstCode + i;
        figures.RunStarted(start);
        for (std::int32_t from = 0; from < count; from += 777)
            figures.Samples(*run, from, std::min(count, from + 777));
    };
    feed("2026-12-08T21:40:12.600Z", 15000, 100);
    feed("2026-12-08T21:40:14.300Z", 5000, 50000);
    figures.Finish();

    const Expected expected[] = {
        {"2026-12-08T21:40:12Z", 4000, 100, 4099},
        {"2026-12-08T21:40:13Z", 10000, 4100, 14099},
        {"2026-12-08T21:40:14Z", 1000 + 5000, 14100, 54999},
    };
    ASSERT_EQ(seconds.size(), std::size(expected));
    for (std::size_t i = 0; i < seconds.size(); ++i) {
        SCOPED_TRACE(expected[i].Second);
        EXPECT_EQ(seconds[i].Second.toString(Qt::ISODate).toStdString(), expected[i].Second);
        EXPECT_EQ(seconds[i].Samples, expected[i].Samples);
        ASSERT_EQ(seconds[i].Channels.size(), 1u);
        EXPECT_EQ(seconds[i].Channels[0].MinCode, expected[i].MinCode);
        EXPECT_EQ(seconds[i].Channels[0].MaxCode, expected[i].MaxCode);
    }
}

} // namespace
