#pragma once

#include "ResultsQuery.h"

#include <QDate>

// The first-pass yield of a plan on a day (UTC): of the boards tested, the
// share whose first run of the plan that day passed (PASS or MARGINAL).
// Retests later that day do not count.
struct DayYield {
    QString Plan;
    QDate Day;
    int Boards = 0;
    int FirstPassed = 0;

    double Yield() const { return Boards == 0 ? 0.0 : static_cast<double>(FirstPassed) / Boards; }
};

class FirstPassYield {
public:
    // Runs oldest first; one entry per plan and day, in the order of plan
    // name and day.
    static std::vector<DayYield> Of(const std::vector<RunOutcome>& runs);
};
