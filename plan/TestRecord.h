#pragma once

#include "FigureLimit.h"
#include "Verdict.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <vector>

// One figure of one channel of one run, judged. A value that could not be
// worked out is NaN and fails; a resolution of a noiseless channel is +inf.
struct Measurement {
    PlanFigure Figure = PlanFigure::Rms;
    int Channel = 0;
    double Value = 0.0;
    FigureLimit Limit;
    Verdict Outcome = Verdict::Pass;

    // "ch0.rms_uV"
    QString Name() const;
};

// One run of a step (Repeat counts from 1). A run that could not be taken
// is ERROR with its reason and no measurements.
struct StepResult {
    QString Step;
    int Repeat = 1;
    QString Settings;  // as the lists show them
    QString RawFile;
    std::int64_t StartMs = 0;  // since the epoch, UTC
    std::int64_t EndMs = 0;
    std::vector<Measurement> Measurements;
    Verdict Outcome = Verdict::Pass;
    QString Error;
};

// One board's test against one plan.
struct BoardRecord {
    QString RunId;  // unique, so that a record is stored once
    QString Serial;
    QString Identity;
    QString Station;
    QString Operator;
    QString PlanName;
    QString PlanVersion;
    QByteArray PlanHash;
    std::int64_t StartMs = 0;
    std::int64_t EndMs = 0;
    std::vector<StepResult> Steps;
    Verdict Outcome = Verdict::Pass;
    QString Error;
    // The run id of the test whose kept runs this record judges again
    // against a changed plan; empty for a test of a board.
    QString RecheckOf;

    // The worst of the steps' verdicts, and of an error that stopped the test.
    void Conclude();
};
