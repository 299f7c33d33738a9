#pragma once

#include "MeasureSettings.h"

#include <QString>

// A run's rate, count, channel and filter as a Python caller gives them,
// read as the companion reads its options (the list's item or its index;
// the caller's numbers arrive as their decimal text). A value that names no
// item raises ValueError listing the items allowed.
class RunArguments {
public:
    static MeasureSettings Settings(const QString& rate, const QString& count, const QString& channel,
                                    const QString& filter);
};
