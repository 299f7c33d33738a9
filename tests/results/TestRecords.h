#pragma once

#include "TestRecord.h"

#include <vector>

// A board's record as korvadex-cli test makes one, of the plan "noise": a
// run of the step "noise" per value given (repeat 1, 2, ...), each with that
// value of rms_uV on channel 0 judged against 1 <= x <= 9; the board's
// verdict as given.
BoardRecord NoiseRecord(const QString& serial, const QString& runId, std::int64_t startMs, Verdict outcome,
                        const std::vector<double>& values = {5.0});
