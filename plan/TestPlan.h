#pragma once

#include "FigureLimit.h"
#include "MeasureSettings.h"

#include <QByteArray>
#include <QString>

#include <vector>

// One step of a plan: a run of these settings, taken Repeat times, each
// run's figures judged against the limits (on every channel the run holds).
struct PlanStep {
    QString Name;
    MeasureSettings Settings;
    int Repeat = 1;
    std::vector<FigureLimit> Limits;
};

// A test plan as read from its file. Hash is the SHA-256 of the file's
// bytes, in hex, so that results name exactly the plan that judged them.
struct TestPlan {
    QString Name;
    QString Version;
    QByteArray Hash;
    std::vector<PlanStep> Steps;

    PlanStep* StepNamed(const QString& name);
};
