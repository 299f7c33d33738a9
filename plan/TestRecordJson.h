#pragma once

#include "TestRecord.h"

#include <QByteArray>
#include <QString>

#include <optional>

// A board's record as JSON shaped like an OpenHTF test record, so that
// tools reading those read ours: dut_id (the serial), station_id, start and
// end in ms, outcome, metadata (plan, operator, run id, and the run id a
// re-check judges again), and phases (one per
// run of a step) with their measurements: name, measured_value, units,
// validators, the limits and outcome. A value without a finite number
// (no spur: -inf; no noise: +inf; not worked out: NaN) is null, its text in
// "measured_text".
//
// Read takes such a record back, as `korvadex-cli results push` sends it
// to the results database: the same record, but for the order of a step's
// measurements (by name, as JSON keeps an object's keys). A text that is
// not such a record is refused with the first thing wrong.
//
// Outcome is the record in short, for a dashboard: the board, plan, station,
// operator, run id, end time (UTC), outcome and error, each run's outcome,
// and the figures that did not pass with their values and units.
class TestRecordJson {
public:
    static QByteArray Write(const BoardRecord& record);
    static QByteArray Outcome(const BoardRecord& record);
    static std::optional<BoardRecord> Read(const QByteArray& json, QString& error);
};
