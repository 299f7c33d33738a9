#pragma once

#include "ChannelReport.h"
#include "MeasureSettings.h"

#include <QString>

#include <vector>

// Prints one run on standard output. As text: "NAME: rate, count, channel,
// filter", then per channel holding data the window's two statistics texts
// (codes, then microvolts). As JSON: one line, see JsonReport.
class ReportWriter {
public:
    explicit ReportWriter(bool json);

    void Print(const QString& name, const QString& board, const MeasureSettings& settings,
               const std::vector<ChannelReport>& channels) const;

private:
    bool json_;
};
