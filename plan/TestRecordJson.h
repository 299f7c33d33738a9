#pragma once

#include "TestRecord.h"

#include <QByteArray>

// A board's record as JSON shaped like an OpenHTF test record, so that
// tools reading those read ours: dut_id (the serial), station_id, start and
// end in ms, outcome, metadata (plan, operator, run id), and phases (one per
// run of a step) with their measurements: name, measured_value, units,
// validators, the limits and outcome. A value without a finite number
// (no spur: -inf; no noise: +inf; not worked out: NaN) is null, its text in
// "measured_text".
class TestRecordJson {
public:
    static QByteArray Write(const BoardRecord& record);
};
