#pragma once

#include "DtaFiles.h"
#include "MeasureSettings.h"

#include <QString>

#include <cstdint>
#include <string>
#include <vector>

// One run of a long-term log made for a test: its start (UTC, as the log
// writes it) and its codes, row by row (two a row for CH0 + CH1).
struct TestRun {
    std::string Start;
    std::vector<std::int32_t> Codes;
};

// The same runs as a text log (the rows and "#" lines korvadex-cli log
// writes) and as an HDF5 log (through the HDF5 log writer), in a folder of
// their own.
class LogFiles {
public:
    QString Text(const QString& name, const MeasureSettings& settings, const std::vector<TestRun>& runs) const;
    QString Hdf5(const QString& name, const MeasureSettings& settings, const std::vector<TestRun>& runs) const;
    // The codes as the data lines of a ".DTA" file ("code" or "ch0,ch1").
    static QStringList DataLines(const MeasureSettings& settings, const std::vector<std::int32_t>& codes);
    const DtaFiles& Folder() const { return folder_; }

private:
    DtaFiles folder_;
};
