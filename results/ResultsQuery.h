#pragma once

#include "ResultTable.h"
#include "Verdict.h"

#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

class ResultsStore;

// Which runs a question is about: all, or those of a board, of a plan,
// started since a moment.
struct ResultsFilter {
    QString Serial;
    QString Plan;
    std::optional<std::int64_t> SinceMs;
};

// How a board's run of a plan came out, for the yield.
struct RunOutcome {
    QString Serial;
    QString Plan;
    std::int64_t StartMs = 0;
    Verdict Outcome = Verdict::Pass;
};

// A finite value of a figure with its limits, for the capability.
struct FigureSample {
    QString Plan;
    QString Step;
    QString Figure;
    double Value = 0.0;
    std::optional<double> Low;
    std::optional<double> High;
    std::int64_t StartMs = 0;  // the test run's
    int Channel = 0;
};

// A stored test's run of a step and the file its samples were kept in
// (empty when the run failed before they were).
struct KeptStep {
    QString Step;
    int Repeat = 1;
    QString RawFile;
};

// A stored test of a board, as a re-check needs it.
struct KeptTest {
    QString RunId;
    QString Serial;
    QString Identity;
    std::vector<KeptStep> Steps;
};

// What the stored results say, filtered, oldest run first. The yield and
// the capability count tests of boards only: a re-check judges the same
// samples again, and would count them twice. Nothing when
// the database refuses; the store's Error() says why.
class ResultsQuery {
public:
    ResultsQuery(ResultsStore& store, ResultsFilter filter);

    // One row per measurement with its board, plan, station, operator, run,
    // start (UTC), step and repeat; a value that is no finite number as
    // its text ("inf", "-inf", "NaN").
    std::optional<ResultTable> Measurements();
    std::optional<std::vector<RunOutcome>> Runs();
    std::optional<std::vector<FigureSample>> Samples();
    // The tests of boards (not re-checks), with their steps' kept files.
    std::optional<std::vector<KeptTest>> KeptTests();

private:
    // " WHERE ..." for the filter (with `also`, a condition of the caller's),
    // its values appended to `parameters`.
    QString Where(SqlRow& parameters, const QString& also = QString()) const;
    std::optional<std::vector<SqlRow>> Select(const QString& sql, const SqlRow& parameters);

    ResultsStore& store_;
    ResultsFilter filter_;
};
