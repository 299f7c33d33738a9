#include "BoardTester.h"

#include "BoardConnection.h"
#include "MeasureCommand.h"
#include "MeasureItems.h"
#include "ReportAnalysis.h"
#include "RunData.h"
#include "RunEvaluator.h"
#include "StepFigures.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QUuid>

#include <memory>

namespace {

std::int64_t NowMs()
{
    return QDateTime::currentMSecsSinceEpoch();
}

// Why a run that did not end whole failed, in a few words.
QString Failure(ExitCode result, BoardConnection& board)
{
    if (result == ExitStopped)
        return QStringLiteral("stopped by the operator");
    return board.Disconnect();
}

// Only letters, digits, '-' and '_' of a serial go into a file name.
QString FileNamePart(const QString& text)
{
    QString part;
    for (const QChar c : text)
        part += c.isLetterOrNumber() || c == QLatin1Char('-') || c == QLatin1Char('_') ? c : QLatin1Char('_');
    return part.isEmpty() ? QStringLiteral("board") : part;
}

} // namespace

BoardTester::BoardTester(const TestPlan& plan, const QString& serial, Options options, Progress progress)
    : plan_(plan)
    , serial_(serial)
    , options_(std::move(options))
    , progress_(std::move(progress))
{
}

BoardRecord BoardTester::Run()
{
    record_ = BoardRecord{};
    record_.RunId = QUuid::createUuid().toString(QUuid::WithoutBraces);
    record_.Serial = serial_;
    record_.Station = options_.Station;
    record_.Operator = options_.Operator;
    record_.PlanName = plan_.Name;
    record_.PlanVersion = plan_.Version;
    record_.PlanHash = plan_.Hash;
    record_.StartMs = NowMs();

    BoardConnection board(options_.StallTimeout, serial_);
    board.HideProgress();
    const ExitCode connected = board.Connect();
    if (connected != ExitDone) {
        record_.Error = QStringLiteral("the board could not be reached (exit code %1)").arg(connected);
    } else {
        record_.Identity = board.Identity();
        if (record_.Serial.isEmpty())
            record_.Serial = board.Serial();
        for (std::size_t i = 0; i < plan_.Steps.size() && record_.Error.isEmpty(); ++i) {
            const PlanStep& step = plan_.Steps[i];
            for (int repeat = 1; repeat <= step.Repeat && record_.Error.isEmpty(); ++repeat) {
                progress_(record_.Serial, StepText(step, i, repeat), std::nullopt);
                record_.Steps.push_back(TakeStep(board, step, i, repeat));
                record_.Error = record_.Steps.back().Error;
                progress_(record_.Serial, StepText(step, i, repeat), record_.Steps.back().Outcome);
            }
        }
    }
    record_.EndMs = NowMs();
    record_.Conclude();
    return record_;
}

StepResult BoardTester::TakeStep(BoardConnection& board, const PlanStep& step, std::size_t index, int repeat)
{
    StepResult result;
    result.Step = step.Name;
    result.Repeat = repeat;
    result.Settings = MeasureItems::Describe(step.Settings);
    result.StartMs = NowMs();
    const auto run = std::make_unique<RunData>();
    run->Settings = step.Settings;
    const ExitCode measured = board.Measure(*run, QString());
    result.EndMs = NowMs();
    if (measured != ExitDone) {
        result.Outcome = Verdict::Error;
        result.Error = Failure(measured, board);
        return result;
    }
    RunEvaluator::Evaluate(*run);
    const QString path = RawPath(index, repeat);
    if (!QDir().mkpath(QFileInfo(path).absolutePath()) || MeasureCommand::Save(path, *run, false) != ExitDone) {
        result.Outcome = Verdict::Error;
        result.Error = QStringLiteral("the run's samples could not be kept in %1").arg(path);
        return result;
    }
    result.RawFile = path;
    const RunAnalysis analysis = ReportAnalysis::Of(path, run->Settings, run->Ch0Data, run->Ch1Data);
    result.Measurements = StepFigures::Judge(step, analysis);
    result.Outcome = StepFigures::Outcome(result.Measurements);
    return result;
}

QString BoardTester::StepText(const PlanStep& step, std::size_t index, int repeat) const
{
    QString text = QStringLiteral("step %1/%2 %3").arg(index + 1).arg(plan_.Steps.size()).arg(step.Name);
    if (step.Repeat > 1)
        text += QStringLiteral(" (%1/%2)").arg(repeat).arg(step.Repeat);
    return text;
}

// SERIAL_RUN-ID_sSTEP[_rREPEAT].DTA: a file per run that no other test's
// run can have taken.
QString BoardTester::RawPath(std::size_t index, int repeat) const
{
    QString name = QStringLiteral("%1_%2_s%3").arg(FileNamePart(record_.Serial), record_.RunId.left(8)).arg(index + 1);
    if (plan_.Steps[index].Repeat > 1)
        name += QStringLiteral("_r%1").arg(repeat);
    return QDir(options_.KeepFolder).filePath(name + QStringLiteral(".DTA"));
}
