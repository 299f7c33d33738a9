#pragma once

#include "MeasureSettings.h"

#include <QString>

class CommandLine;

// The options that choose a run's settings as the window's lists and filter
// buttons do, shared by the commands that measure.
namespace RunOptions {

extern const QString Rate;
extern const QString Count;
extern const QString Channel;
extern const QString Filter;

// Rate, channel and filter, and with withCount the count, from the command
// line into settings. An empty text when all are given and good, else what
// is wrong, naming the command for a missing option.
QString SettingsFrom(const CommandLine& line, const QString& command, bool withCount, MeasureSettings& settings);

} // namespace RunOptions
