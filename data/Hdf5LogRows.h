#pragma once

#include "BlockSummary.h"
#include "Hdf5Handle.h"
#include "LogLayout.h"
#include "LogRecords.h"

#include <cstdint>

// The rows of /runs and /events as the writer and the reader hold them in
// memory (and the cells of /summary's levels, BlockSummary), with their HDF5
// types: in the file the fields are packed little-
// endian, the strings fixed, NUL-padded UTF-8 (h5py gives them as bytes).
namespace Hdf5LogRows {

struct RunRow {
    std::int32_t Run;
    char Start[LogLayout::TimeLength];
    std::int64_t FirstSample;
    std::int64_t Samples;
    char End[LogLayout::WordLength];
};

struct EventRow {
    char Time[LogLayout::TimeLength];
    char Kind[LogLayout::WordLength];
    std::int32_t Run;
    double Seconds;
    char Text[LogLayout::TextLength];
};

// The compound types; packed = true gives the file's layout.
Hdf5Handle RunType(bool packed);
Hdf5Handle EventType(bool packed);
Hdf5Handle SummaryType(bool packed);

RunRow ToRow(const LogRun& run);
LogRun FromRow(const RunRow& row);
EventRow ToRow(const LogEvent& event);
LogEvent FromRow(const EventRow& row);

} // namespace Hdf5LogRows
