#include "ResultsCommand.h"

#include "CommandLine.h"
#include "Console.h"
#include "ExitCode.h"
#include "FirstPassYield.h"
#include "OutputFile.h"
#include "ProcessCapability.h"
#include "ResultTableText.h"
#include "ResultsStore.h"
#include "TestRecordJson.h"
#include "Usage.h"

#include <QDateTime>
#include <QDir>
#include <QFile>

#include <memory>

namespace {

const QString DbOption = QStringLiteral("--db");
const QString SerialOption = QStringLiteral("--serial");
const QString PlanOption = QStringLiteral("--plan");
const QString SinceOption = QStringLiteral("--since");
const QString YieldOption = QStringLiteral("--yield");
const QString CpkOption = QStringLiteral("--cpk");
const QString JsonOption = QStringLiteral("--json");
const QString CsvOption = QStringLiteral("--csv");
const QString PushWord = QStringLiteral("push");

const char* const HelpText =
    "usage: korvadex-cli results [--db URL] [--serial SERIAL] [--plan NAME] [--since DATE]\n"
    "                            [--yield | --cpk | --report OUT.pdf] [--json | --csv]\n"
    "       korvadex-cli results push DIR [--db URL]\n"
    "Shows what the results database holds: one row per measurement (board, plan,\n"
    "station, operator, run, start in UTC, step, repeat, figure, channel, value,\n"
    "unit, limits, verdict, raw file), oldest run first.\n"
    "--yield: the first-pass yield per plan and day (UTC): of the boards tested,\n"
    "those whose first run of the plan that day passed (PASS or MARGINAL).\n"
    "--cpk: per plan, step, figure and channel, n, mean, sigma and\n"
    "Cpk = min(high - mean, mean - low) / (3 sigma), one-sided with one limit.\n"
    "--report: per plan, step and figure a control chart (the values against\n"
    "their tests' start, limits drawn) and a histogram, as a PDF (or .png pages).\n"
    "--serial, --plan and --since (YYYY-MM-DD or YYYY-MM-DDTHH:MM:SS, UTC unless an\n"
    "offset is given) choose the runs.\n"
    "push stores the JSON records in DIR (as test --json writes them), each once.\n"
    "--db: sqlite:PATH (default sqlite:results.sqlite; only push makes a file that\n"
    "is not there) or postgresql://USER@HOST:PORT/DBNAME.\n"
    "exit codes: 0 done, 2 usage error, a database that cannot be reached or\n"
    "refuses, or a record that cannot be read or stored";

std::optional<std::int64_t> SinceMs(const QString& text)
{
    // Qt reads the date of "2026-12-10T23:59:59" too, and would drop its time.
    const QDate day = text.size() == 10 ? QDate::fromString(text, Qt::ISODate) : QDate();
    if (day.isValid())
        return QDateTime(day, QTime(0, 0), Qt::UTC).toMSecsSinceEpoch();
    QDateTime moment = QDateTime::fromString(text, Qt::ISODate);
    if (!moment.isValid())
        return std::nullopt;
    if (moment.timeSpec() == Qt::LocalTime)
        moment.setTimeSpec(Qt::UTC);
    return moment.toMSecsSinceEpoch();
}

QString Url(const CommandLine& line)
{
    return line.Has(DbOption) ? line.Value(DbOption) : ResultsStore::DefaultUrl;
}

std::unique_ptr<ResultsStore> OpenStore(const CommandLine& line)
{
    QString error;
    std::unique_ptr<ResultsStore> store = ResultsStore::Open(Url(line), error);
    if (!store)
        Console::Err(QStringLiteral("korvadex-cli: ") + error);
    return store;
}

ResultTable YieldTable(const std::vector<RunOutcome>& runs)
{
    ResultTable table{{QStringLiteral("plan"), QStringLiteral("day"), QStringLiteral("boards"), QStringLiteral("first_passed"),
                       QStringLiteral("yield")},
                      {}};
    for (const DayYield& day : FirstPassYield::Of(runs)) {
        table.Rows.push_back({day.Plan, day.Day.toString(Qt::ISODate), static_cast<std::int64_t>(day.Boards),
                              static_cast<std::int64_t>(day.FirstPassed), day.Yield()});
    }
    return table;
}

ResultTable CpkTable(const std::vector<FigureSample>& samples)
{
    ResultTable table{{QStringLiteral("plan"), QStringLiteral("step"), QStringLiteral("figure"), QStringLiteral("channel"),
                       QStringLiteral("n"),
                       QStringLiteral("mean"), QStringLiteral("sigma"), QStringLiteral("low"), QStringLiteral("high"),
                       QStringLiteral("cpk")},
                      {}};
    for (const Capability& c : ProcessCapability::Of(samples)) {
        table.Rows.push_back({c.Plan, c.Step, c.Figure, static_cast<std::int64_t>(c.Channel), static_cast<std::int64_t>(c.Count),
                              c.Mean, Sql::Optional(c.Sigma),
                              Sql::Optional(c.Low), Sql::Optional(c.High), Sql::Optional(c.Cpk)});
    }
    return table;
}

// The table asked for, or nothing when the database refused.
std::optional<ResultTable> Ask(const CommandLine& line, ResultsQuery& query)
{
    if (line.Has(YieldOption)) {
        const auto runs = query.Runs();
        return runs ? std::optional<ResultTable>(YieldTable(*runs)) : std::nullopt;
    }
    if (line.Has(CpkOption)) {
        const auto samples = query.Samples();
        return samples ? std::optional<ResultTable>(CpkTable(*samples)) : std::nullopt;
    }
    return query.Measurements();
}

// "plan production · board KVX0003 · since 2026-12-01 · sqlite:results.sqlite"
QString Heading(const CommandLine& line)
{
    QStringList parts;
    if (line.Has(PlanOption))
        parts << QStringLiteral("plan ") + line.Value(PlanOption);
    if (line.Has(SerialOption))
        parts << QStringLiteral("board ") + line.Value(SerialOption);
    if (line.Has(SinceOption))
        parts << QStringLiteral("since ") + line.Value(SinceOption);
    parts << Url(line);
    return parts.join(QStringLiteral("   ·   "));
}

int Report(const CommandLine& line, ResultsQuery& query, ResultsStore& store, ResultsCommand::ReportWriter writeReport)
{
    const auto samples = query.Samples();
    if (!samples) {
        Console::Err(QStringLiteral("korvadex-cli: ") + store.Error());
        return ExitUsageOrFile;
    }
    QString error;
    if (!writeReport(line.Value(ResultsCommand::ReportOption), Heading(line), *samples, error)) {
        Console::Err(QStringLiteral("korvadex-cli: ") + error);
        return ExitUsageOrFile;
    }
    return ExitDone;
}

int Show(const CommandLine& line, const ResultsFilter& filter, ResultsCommand::ReportWriter writeReport)
{
    if (!ResultsStore::Exists(Url(line))) {
        Console::Err(QStringLiteral("korvadex-cli: no results database %1").arg(Url(line)));
        return ExitUsageOrFile;
    }
    const std::unique_ptr<ResultsStore> store = OpenStore(line);
    if (!store)
        return ExitUsageOrFile;
    ResultsQuery query(*store, filter);
    if (line.Has(ResultsCommand::ReportOption))
        return Report(line, query, *store, writeReport);
    const std::optional<ResultTable> table = Ask(line, query);
    if (!table) {
        Console::Err(QStringLiteral("korvadex-cli: ") + store->Error());
        return ExitUsageOrFile;
    }
    const QByteArray text = line.Has(JsonOption)  ? ResultTableText::Json(*table)
                            : line.Has(CsvOption) ? ResultTableText::Csv(*table)
                                                  : ResultTableText::Text(*table);
    return OutputFile::Write(QString(), text) ? ExitDone : ExitUsageOrFile;
}

// Why the record in `path` was not stored, or an empty text.
QString PushFile(ResultsStore& store, const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return file.errorString();
    QString error;
    const std::optional<BoardRecord> record = TestRecordJson::Read(file.readAll(), error);
    if (!record)
        return error;
    return store.Store(*record) ? QString() : store.Error();
}

int Push(const CommandLine& line, const QString& folder)
{
    const QDir dir(folder);
    if (!dir.exists()) {
        Console::Err(QStringLiteral("korvadex-cli: no folder %1").arg(folder));
        return ExitUsageOrFile;
    }
    const std::unique_ptr<ResultsStore> store = OpenStore(line);
    if (!store)
        return ExitUsageOrFile;
    const QStringList files = dir.entryList({QStringLiteral("*.json")}, QDir::Files, QDir::Name);
    int failed = 0;
    for (const QString& name : files) {
        const QString why = PushFile(*store, dir.filePath(name));
        if (!why.isEmpty()) {
            Console::Err(QStringLiteral("korvadex-cli: %1 not stored: %2").arg(dir.filePath(name), why));
            ++failed;
        }
    }
    Console::Out(QStringLiteral("%1 of %2 records in %3 are in the results database")
                     .arg(files.size() - failed)
                     .arg(files.size())
                     .arg(folder));
    return failed == 0 ? ExitDone : ExitUsageOrFile;
}

int PushCommand(const CommandLine& line)
{
    const QStringList& positional = line.Positional();
    if (positional.size() != 2 || positional.front() != PushWord)
        return Usage::Fail(QStringLiteral("results takes no words but push DIR"));
    for (const QString& option :
         {SerialOption, PlanOption, SinceOption, YieldOption, CpkOption, JsonOption, CsvOption, ResultsCommand::ReportOption}) {
        if (line.Has(option))
            return Usage::Fail(QStringLiteral("results push takes DIR and %1 only").arg(DbOption));
    }
    return Push(line, positional.back());
}

// What is wrong with the choice of what to show, or an empty text.
QString ShowFault(const CommandLine& line, bool canReport)
{
    int shown = 0;
    for (const QString& option : {YieldOption, CpkOption, ResultsCommand::ReportOption})
        shown += line.Has(option) ? 1 : 0;
    if (shown > 1)
        return QStringLiteral("results takes one of %1, %2 and %3").arg(YieldOption, CpkOption, ResultsCommand::ReportOption);
    if (line.Has(JsonOption) && line.Has(CsvOption))
        return QStringLiteral("results takes %1 or %2, not both").arg(JsonOption, CsvOption);
    if (line.Has(ResultsCommand::ReportOption) && (line.Has(JsonOption) || line.Has(CsvOption)))
        return QStringLiteral("%1 writes a file, and takes no %2 or %3").arg(ResultsCommand::ReportOption, JsonOption, CsvOption);
    if (line.Has(ResultsCommand::ReportOption) && !canReport)
        return QStringLiteral("%1 needs the drawing module").arg(ResultsCommand::ReportOption);
    return QString();
}

} // namespace

const QString ResultsCommand::ReportOption = QStringLiteral("--report");

int ResultsCommand::Run(const QStringList& words, ReportWriter writeReport)
{
    CommandLine line;
    if (!line.Parse(words, {{DbOption, true}, {SerialOption, true}, {PlanOption, true}, {SinceOption, true},
                            {YieldOption, false}, {CpkOption, false}, {JsonOption, false}, {CsvOption, false},
                            {ReportOption, true}, {Usage::HelpOption, false}}))
        return Usage::Fail(line.Error());
    if (line.Has(Usage::HelpOption))
        return Usage::Help(QString::fromUtf8(HelpText));
    if (!line.Positional().isEmpty())
        return PushCommand(line);
    const QString fault = ShowFault(line, writeReport != nullptr);
    if (!fault.isEmpty())
        return Usage::Fail(fault);
    ResultsFilter filter{line.Value(SerialOption), line.Value(PlanOption), std::nullopt};
    if (line.Has(SinceOption)) {
        filter.SinceMs = SinceMs(line.Value(SinceOption));
        if (!filter.SinceMs)
            return Usage::Fail(QStringLiteral("%1 takes a date, YYYY-MM-DD").arg(SinceOption));
    }
    return Show(line, filter, writeReport);
}
