#pragma once

#include "Hdf5Handle.h"
#include "SummaryPyramid.h"

#include <cstdint>
#include <vector>

// Writes a log's block summaries (LogLayout's /summary): the levels' datasets
// made empty in a group, then each level's new rows appended. For the log
// writer, which must make every dataset before SWMR writing starts, and for
// the index command, which builds them in a group of its own.
class Hdf5SummaryTables {
public:
    // The group's attributes and its SummaryLevels datasets, for codes of
    // `channels` columns.
    bool Make(hid_t group, int channels);
    // Appends the rows the pyramid made (and writes each grown level's
    // metadata, so that a SWMR reader sees it); false on a failure.
    bool Append(const SummaryPyramid& pyramid);

private:
    int channels_ = 1;
    Hdf5Handle memoryType_;
    std::vector<Hdf5Handle> levels_;
    std::vector<std::int64_t> rows_;
};
