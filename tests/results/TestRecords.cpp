#include "TestRecords.h"

BoardRecord NoiseRecord(const QString& serial, const QString& runId, std::int64_t startMs, Verdict outcome,
                        const std::vector<double>& values)
{
    BoardRecord record;
    record.RunId = runId;
    record.Serial = serial;
    record.Identity = QStringLiteral("KORVADEX Board 2.1");
    record.Station = QStringLiteral("bench-1");
    record.Operator = QStringLiteral("tanaka");
    record.PlanName = QStringLiteral("noise");
    record.PlanVersion = QStringLiteral("3");
    record.PlanHash = QByteArray(64, 'a');
    record.StartMs = startMs;
    record.EndMs = startMs + 1000;
    record.Outcome = outcome;
    for (std::size_t i = 0; i < values.size(); ++i) {
        StepResult step;
        step.Step = QStringLiteral("noise");
        step.Repeat = static_cast<int>(i) + 1;
        step.Settings = QStringLiteral("1 kSPS, 1000, CH0, sinc5");
        step.RawFile = QStringLiteral("korvadex-raw/%1_%2.DTA").arg(runId).arg(i + 1);
        step.StartMs = startMs + static_cast<std::int64_t>(i) * 100;
        step.EndMs = step.StartMs + 100;
        Measurement m;
        m.Figure = PlanFigure::Rms;
        m.Value = values[i];
        m.Limit.Low = 1.0;
        m.Limit.High = 9.0;
        m.Outcome = m.Limit.Judge(m.Value);
        step.Measurements.push_back(m);
        step.Outcome = m.Outcome;
        record.Steps.push_back(step);
    }
    return record;
}
