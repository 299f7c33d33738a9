#pragma once

#include <QString>

struct ChannelData;
struct MeasureSettings;
struct RunAnalysis;

// The window's data written as the companion writes it: the CSV table of
// `export` and the A4 page of `report`. Each file is replaced whole when
// every byte is written, or left as it was.
class RunFiles {
public:
    static bool WriteCsv(const QString& path, const MeasureSettings& settings, const ChannelData& ch0,
                         const ChannelData& ch1);
    // PDF or PNG by the path's ending.
    static bool WriteReport(const QString& path, const RunAnalysis& analysis, const ChannelData& ch0,
                            const ChannelData& ch1);
};
