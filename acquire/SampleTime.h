#pragma once

#include <QDateTime>

#include <cstdint>

// A logged sample's time is its run's start plus its index in the run at
// the nominal rate, so that a text log and an HDF5 log of the same runs,
// and whoever follows a log live, put the same samples in the same second.
namespace SampleTime {

// The first index i of a run starting at `start` whose time start + i / rate
// is at or after `time`, within 0 .. samples.
std::int64_t IndexAt(const QDateTime& start, const QDateTime& time, double rate, std::int64_t samples);

} // namespace SampleTime
