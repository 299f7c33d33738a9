#include "DevicesOnRealClock.h"

#include <cstdio>
#include <cstdlib>

namespace {

SimSettings SettingsOfThisProcess()
{
    SimSettings settings = SettingsFromEnvironment([](const char* name) { return std::getenv(name); });
    for (const std::string& warning : settings.Warnings)
        std::fprintf(stderr, "libftd2xx (virtual board): %s\n", warning.c_str());
    return settings;
}

}  // namespace

DevicesOnRealClock::DevicesOnRealClock()
    : DevicesOnRealClock(SettingsOfThisProcess())
{
}

DevicesOnRealClock::DevicesOnRealClock(const SimSettings& settings)
    : clock_(settings.Speed)
    , devices_(clock_, settings.Devices, settings.Board)
{
}
