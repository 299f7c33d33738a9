#pragma once

#include "SqlValue.h"
#include "TestRecord.h"

#include <optional>

class ResultsStore;

// A board's record written into the tables, inside the store's open write
// transaction: its station, board and plan found or added, then the run,
// its steps and their measurements. A run id already stored is left as it
// is. Measurements go in a statement per step (several rows each), so a run
// costs a few round trips to the server, not one per figure.
class RecordWriter {
public:
    explicit RecordWriter(ResultsStore& store);

    bool Write(const BoardRecord& record);

private:
    std::optional<std::int64_t> Id(const QString& sql, const SqlRow& parameters);
    bool Stored(const QString& runId, bool& stored);
    bool WriteStep(std::int64_t runId, const StepResult& step);
    bool WriteMeasurements(std::int64_t stepId, const StepResult& step, std::size_t first, std::size_t count);

    ResultsStore& store_;
};
