#pragma once

#include "ChannelReport.h"
#include "MeasureSettings.h"

#include <QByteArray>
#include <QJsonObject>
#include <QString>

#include <vector>

// One run as one line of JSON:
//   {"file": ..., ["board": ...,] "settings": {...}, "channels": [...]}
// settings holds the stored fields and their items in words; each channel
// its count, "codes" and "microvolts" objects (max, min, pp, deviation) and
// the noise figures. Floats are written with the shortest digits that read
// back as the same float; a resolution without a value is null.
class JsonReport {
public:
    static QByteArray Line(const QString& name, const QString& board, const MeasureSettings& settings,
                           const std::vector<ChannelReport>& channels);
    // The same as an object, for a report that adds to it.
    static QJsonObject Object(const QString& name, const QString& board, const MeasureSettings& settings,
                              const std::vector<ChannelReport>& channels);
    // The float's shortest decimal digits, as a double: 2.5f is written 2.5,
    // and 0.1f as 0.1 rather than 0.10000000149011612.
    static double ShortestFloat(float value);
};
