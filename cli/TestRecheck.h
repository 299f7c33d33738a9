#pragma once

#include "ResultsQuery.h"
#include "TestPlan.h"
#include "TestRecord.h"

#include <QString>

// A stored test of a board judged again against the plan as it is now,
// from the ".DTA" files its runs kept, with no board attached: the record
// of a re-check, linked to the original by its run id. A run of the plan
// that the test did not keep, whose file cannot be read, or that was taken
// at other settings than the step now asks is ERROR with the reason; the
// other runs are judged all the same.
class TestRecheck {
public:
    static BoardRecord Of(const TestPlan& plan, const KeptTest& kept, const QString& station, const QString& who);

private:
    static StepResult Judge(const PlanStep& step, int repeat, const KeptTest& kept);
};
