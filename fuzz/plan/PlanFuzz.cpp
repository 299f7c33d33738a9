// Feeds arbitrary bytes, as a file, to the test plan's reader and to the
// CSV limit table (over a fixed plan). Whatever the bytes, a refusal says
// where and why; a plan or table that is taken holds only steps and limits
// the program can run and judge.
#include "LimitTable.h"
#include "MeasureItems.h"
#include "PlanReader.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

void Require(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "plan fuzz: %s\n", what);
        std::abort();
    }
}

struct ScratchFiles {
    QString Plan = QDir::temp().filePath(QStringLiteral("korvadex-plan-fuzz-%1.toml").arg(QCoreApplication::applicationPid()));
    QString Fixed = QDir::temp().filePath(QStringLiteral("korvadex-plan-fuzz-%1-fixed.toml").arg(QCoreApplication::applicationPid()));
    ScratchFiles()
    {
        QFile file(Fixed);
        Require(file.open(QIODevice::WriteOnly), "cannot write the fixed plan");
        file.write("[plan]\nname = \"p\"\n[[step]]\nname = \"s\"\nrate = \"1ksps\"\ncount = 1000\nchannel = 2\nfilter = \"sinc5\"\n");
    }
    ~ScratchFiles()
    {
        QFile::remove(Plan);
        QFile::remove(Fixed);
    }
};

void RequireRunnable(const TestPlan& plan)
{
    Require(!plan.Steps.empty() && plan.Hash.size() == 64, "a plan without steps or hash");
    for (const PlanStep& step : plan.Steps) {
        Require(!step.Name.trimmed().isEmpty() && step.Repeat >= 1 && step.Repeat <= 1000, "a step without name or repeat");
        Require(!MeasureItems::Describe(step.Settings).isEmpty(), "settings outside the lists");
        for (const FigureLimit& limit : step.Limits)
            Require(limit.Fault().isEmpty(), "limits that contradict each other");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const ScratchFiles scratch;
    {
        QFile file(scratch.Plan);
        Require(file.open(QIODevice::WriteOnly | QIODevice::Truncate), "cannot write the scratch file");
        file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    }
    PlanReader reader;
    if (const std::optional<TestPlan> plan = reader.Read(scratch.Plan))
        RequireRunnable(*plan);
    else
        Require(reader.Error().startsWith(scratch.Plan + QLatin1Char(':')), "a refusal without where");

    for (const QChar point : {QLatin1Char('.'), QLatin1Char(',')}) {
        std::optional<TestPlan> fixed = PlanReader().Read(scratch.Fixed);
        Require(fixed.has_value(), "the fixed plan is refused");
        LimitTable table(point);
        if (table.ApplyTo(scratch.Plan, *fixed))
            RequireRunnable(*fixed);
        else
            Require(table.Error().startsWith(scratch.Plan + QLatin1Char(':')), "a table refused without where");
    }
    return 0;
}
