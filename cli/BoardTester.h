#pragma once

#include "TestPlan.h"
#include "TestRecord.h"

#include <QString>

#include <chrono>
#include <functional>
#include <optional>

class BoardConnection;

// One board's test: connects to the board of that serial (or the only one
// attached), takes every step of the plan Repeat times, keeps each run's
// samples as a ".DTA" file, and judges its figures. A board that cannot be
// reached, or a run that fails (lost, refused, stalled, stopped), makes the
// board ERROR and ends its test; what was judged before stays. Runs on a
// thread of its own, with a link of its own.
class BoardTester {
public:
    struct Options {
        QString Station;
        QString Operator;
        QString KeepFolder;
        std::chrono::milliseconds StallTimeout{10000};
    };
    // As each run starts (no verdict yet) and as it ends, on the tester's
    // thread: the board, "step 2/5 noise 1 kSPS" and the run's verdict.
    using Progress = std::function<void(const QString& serial, const QString& step, std::optional<Verdict> outcome)>;

    BoardTester(const TestPlan& plan, const QString& serial, Options options, Progress progress);

    BoardRecord Run();

private:
    StepResult TakeStep(BoardConnection& board, const PlanStep& step, std::size_t index, int repeat);
    QString StepText(const PlanStep& step, std::size_t index, int repeat) const;
    QString RawPath(std::size_t index, int repeat) const;

    const TestPlan& plan_;
    QString serial_;
    Options options_;
    Progress progress_;
    BoardRecord record_;
};
