#include "TestRecheck.h"

#include "ConsoleMessages.h"
#include "DataFileLoader.h"
#include "MeasureItems.h"
#include "ReportAnalysis.h"
#include "RunData.h"
#include "StepFigures.h"
#include "WindowTexts.h"

#include <QDateTime>
#include <QUuid>

#include <algorithm>
#include <memory>

BoardRecord TestRecheck::Of(const TestPlan& plan, const KeptTest& kept, const QString& station, const QString& who)
{
    BoardRecord record;
    record.RunId = QUuid::createUuid().toString(QUuid::WithoutBraces);
    record.RecheckOf = kept.RunId;
    record.Serial = kept.Serial;
    record.Identity = kept.Identity;
    record.Station = station;
    record.Operator = who;
    record.PlanName = plan.Name;
    record.PlanVersion = plan.Version;
    record.PlanHash = plan.Hash;
    record.StartMs = QDateTime::currentMSecsSinceEpoch();
    for (const PlanStep& step : plan.Steps) {
        for (int repeat = 1; repeat <= step.Repeat; ++repeat) {
            record.Steps.push_back(Judge(step, repeat, kept));
            if (record.Error.isEmpty())
                record.Error = record.Steps.back().Error;
        }
    }
    record.EndMs = QDateTime::currentMSecsSinceEpoch();
    record.Conclude();
    return record;
}

StepResult TestRecheck::Judge(const PlanStep& step, int repeat, const KeptTest& kept)
{
    StepResult result;
    result.Step = step.Name;
    result.Repeat = repeat;
    result.Settings = MeasureItems::Describe(step.Settings);
    result.StartMs = QDateTime::currentMSecsSinceEpoch();
    result.Outcome = Verdict::Error;
    const auto keptStep = std::find_if(kept.Steps.begin(), kept.Steps.end(), [&](const KeptStep& s) {
        return s.Step == step.Name && s.Repeat == repeat;
    });
    const auto run = std::make_unique<RunData>();
    ConsoleMessages console;
    WindowTexts texts(console);
    if (keptStep == kept.Steps.end() || keptStep->RawFile.isEmpty()) {
        result.Error = QStringLiteral("step \"%1\" run %2: the test kept no samples of it").arg(step.Name).arg(repeat);
    } else if (!DataFileLoader::Load(keptStep->RawFile, *run, texts)) {
        result.Error = QStringLiteral("the kept run %1 cannot be read").arg(keptStep->RawFile);
    } else if (MeasureItems::Describe(run->Settings) != result.Settings) {
        result.Error = QStringLiteral("the kept run %1 was taken at %2; the step asks %3")
                           .arg(keptStep->RawFile, MeasureItems::Describe(run->Settings), result.Settings);
    } else {
        result.RawFile = keptStep->RawFile;
        run->ConvertAll();
        const RunAnalysis analysis = ReportAnalysis::Of(result.RawFile, run->Settings, run->Ch0Data, run->Ch1Data);
        result.Measurements = StepFigures::Judge(step, analysis);
        result.Outcome = StepFigures::Outcome(result.Measurements);
    }
    result.EndMs = QDateTime::currentMSecsSinceEpoch();
    return result;
}
