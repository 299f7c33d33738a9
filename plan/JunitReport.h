#pragma once

#include "TestRecord.h"

#include <QByteArray>

#include <vector>

// The boards' records as JUnit XML for CI and test-management tools: one
// testsuite per board (named by its serial), one testcase per figure of
// each run of a step (classname the step, name the figure), a failure for
// FAIL, an error for a run that could not be taken; MARGINAL passes, with
// its limits in system-out.
class JunitReport {
public:
    static QByteArray Write(const std::vector<BoardRecord>& records);
};
