#include "MeasureLists.h"

#include <gtest/gtest.h>

namespace {

MeasureSettings HighestItems()
{
    MeasureSettings settings;
    settings.spsSel = 16;
    settings.DataCountSel = 9;
    settings.CHSel = 2;
    return settings;
}

TEST(MeasureLists, SettingsOutsideTheListsAreRefused)
{
    EXPECT_TRUE(SettingsInLists(HighestItems()));
    EXPECT_TRUE(SettingsInLists(MeasureSettings{}));
    for (auto spoil : {+[](MeasureSettings& s) { s.spsSel = 17; }, +[](MeasureSettings& s) { s.spsSel = -1; },
                       +[](MeasureSettings& s) { s.DataCountSel = 10; },
                       +[](MeasureSettings& s) { s.DataCountSel = -1; }, +[](MeasureSettings& s) { s.CHSel = 3; },
                       +[](MeasureSettings& s) { s.CHSel = -1; }}) {
        MeasureSettings bad = HighestItems();
        spoil(bad);
        EXPECT_FALSE(SettingsInLists(bad));
    }
}

TEST(MeasureLists, AShowableRunHasSamplesInTheChannelItNames)
{
    const ChannelData empty{0, nullptr, nullptr};
    const ChannelData held{5, nullptr, nullptr};
    MeasureSettings settings;
    settings.CHSel = ModeCh0;
    EXPECT_TRUE(IsShowableRun(settings, held, empty));
    EXPECT_FALSE(IsShowableRun(settings, empty, held));
    settings.CHSel = ModeCh1;
    EXPECT_TRUE(IsShowableRun(settings, empty, held));
    EXPECT_FALSE(IsShowableRun(settings, held, empty));
    settings.CHSel = ModeDual;
    EXPECT_TRUE(IsShowableRun(settings, held, held));
    EXPECT_FALSE(IsShowableRun(settings, empty, empty));
    settings.spsSel = 17;
    EXPECT_FALSE(IsShowableRun(settings, held, held));
}

} // namespace
