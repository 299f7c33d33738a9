#include "TestCommand.h"

#include "BoardChoice.h"
#include "BoardConnection.h"
#include "BoardIdentity.h"
#include "BoardTester.h"
#include "CommandLine.h"
#include "Console.h"
#include "D2xxLoader.h"
#include "ExitCode.h"
#include "FftwModule.h"
#include "InterruptFlag.h"
#include "JunitReport.h"
#include "LimitTable.h"
#include "OutputFile.h"
#include "PlanReader.h"
#include "PublishOptions.h"
#include "ResultsQuery.h"
#include "ResultsStore.h"
#include "Terminal.h"
#include "TestRecheck.h"
#include "TestRecordJson.h"
#include "TestTable.h"
#include "Usage.h"

#include <QDir>
#include <QEventLoop>
#include <QSysInfo>

#include <algorithm>
#include <QThread>

#include <memory>
#include <optional>
#include <string>

namespace {

const QString AllBoardsOption = QStringLiteral("--all-boards");
const QString LimitsOption = QStringLiteral("--limits");
const QString DecimalCommaOption = QStringLiteral("--decimal-comma");
const QString JsonOption = QStringLiteral("--json");
const QString JunitOption = QStringLiteral("--junit");
const QString KeepOption = QStringLiteral("--keep");
const QString StationOption = QStringLiteral("--station");
const QString OperatorOption = QStringLiteral("--operator");
const QString DbOption = QStringLiteral("--db");
const QString RecheckOption = QStringLiteral("--recheck");
const QString DefaultKeepFolder = QStringLiteral("korvadex-raw");

const char* const HelpText =
    "usage: korvadex-cli test PLAN.toml [--board SERIAL]... | [--all-boards]\n"
    "                         [--limits LIMITS.csv [--decimal-comma]] [--json DIR]\n"
    "                         [--junit FILE.xml] [--keep DIR] [--station NAME]\n"
    "                         [--operator NAME] [--stall-timeout SECONDS] [--db URL]\n"
    "                         [--publish mqtt://HOST[:PORT]/PREFIX]\n"
    "                         [--mqtt-user NAME --mqtt-password-file FILE]\n"
    "       korvadex-cli test PLAN.toml --recheck [--board SERIAL]... [--db URL]\n"
    "                         [--json DIR] [--junit FILE.xml] [--keep DIR] [--station NAME]\n"
    "                         [--operator NAME]\n"
    "Runs the plan's steps on each board, all boards at once, and judges every\n"
    "figure against its limits: PASS, MARGINAL (inside the limits, outside the\n"
    "marginal ones), FAIL; a board that cannot be measured is ERROR.\n"
    "Each run's samples are kept as a .DTA file in --keep (default korvadex-raw).\n"
    "--json writes one test record per board, --junit one JUnit XML file.\n"
    "Every record is stored in the results database --db: sqlite:PATH (default\n"
    "sqlite:results.sqlite) or postgresql://USER@HOST:PORT/DBNAME. Records it does\n"
    "not take are written as JSON (to --json, else to --keep) for results push.\n"
    "--publish sends each board's verdict, retained, to PREFIX/SERIAL/test on an\n"
    "MQTT broker; a broker that is away stops no test.\n"
    "--recheck judges the kept runs of every test of the plan's name in the\n"
    "database (of the boards named) again against the plan as it is now, with\n"
    "no board attached, and stores the results as re-checks of those tests.\n"
    "--limits replaces the plan's limits by a CSV table\n"
    "(step,figure,low,high,marginal_low,marginal_high[,band_low,band_high]);\n"
    "with --decimal-comma its numbers use \",\" and its fields \";\".\n"
    "exit codes: 0 every board passed, 1 a board failed, 2 usage or plan error,\n"
    "3 a board could not be measured, 130 stopped by Ctrl-C; 2 also when every\n"
    "board passed but the results database did not take the records";

// The plan with its limits, or nothing after saying why on standard error.
std::optional<TestPlan> ReadPlan(const CommandLine& line)
{
    PlanReader reader;
    std::optional<TestPlan> plan = reader.Read(line.Positional().front());
    if (!plan) {
        Console::Err(QStringLiteral("korvadex-cli: the plan is refused: ") + reader.Error());
        return std::nullopt;
    }
    if (line.Has(LimitsOption)) {
        LimitTable limits(line.Has(DecimalCommaOption) ? QLatin1Char(',') : QLatin1Char('.'));
        if (!limits.ApplyTo(line.Value(LimitsOption), *plan)) {
            Console::Err(QStringLiteral("korvadex-cli: the limits are refused: ") + limits.Error());
            return std::nullopt;
        }
    }
    return plan;
}

// Every attached device that answers as a KORVADEX Board.
QStringList AttachedBoards()
{
    const std::unique_ptr<D2xx> driver = LoadD2xx();
    std::vector<FtdiDevice> devices;
    QStringList serials;
    if (DeviceList::Read(*driver, devices) != FT_OK)
        return serials;
    for (const FtdiDevice& device : devices) {
        if (!device.Serial.isEmpty() && BoardIdentity::IsBoard(BoardIdentity::Ask(*driver, device)))
            serials << device.Serial;
    }
    return serials;
}

// What is wrong with the boards' options, or an empty text.
QString BoardsFault(const CommandLine& line)
{
    QStringList named = line.Values(BoardChoice::Option);
    if (line.Has(AllBoardsOption) && !named.isEmpty())
        return QStringLiteral("test takes %1 or %2, not both").arg(BoardChoice::Option, AllBoardsOption);
    if (named.removeDuplicates() > 0)
        return QStringLiteral("a board is named twice with %1").arg(BoardChoice::Option);
    return QString();
}

// The boards to test: those named, all boards attached, or the one chosen
// as the other commands choose it; nothing after saying that no board is
// attached.
std::optional<QStringList> Boards(const CommandLine& line)
{
    const QStringList named = line.Values(BoardChoice::Option);
    if (line.Has(AllBoardsOption)) {
        const QStringList boards = AttachedBoards();
        if (boards.isEmpty()) {
            Console::Err(QStringLiteral("korvadex-cli: no KORVADEX Board is attached"));
            return std::nullopt;
        }
        return boards;
    }
    return named.isEmpty() ? QStringList{BoardChoice::Serial(line)} : named;
}

QString Station(const CommandLine& line)
{
    return line.Has(StationOption) ? line.Value(StationOption) : QSysInfo::machineHostName();
}

QString Operator(const CommandLine& line)
{
    if (line.Has(OperatorOption))
        return line.Value(OperatorOption);
    const QString user = qEnvironmentVariable("USER");
    return user.isEmpty() ? qEnvironmentVariable("USERNAME") : user;
}

// What a board's verdict publisher could not deliver, and why.
struct Undelivered {
    std::int64_t Count = 0;
    QString Problem;
};

// The board's verdict on the broker, once its test has ended; waits a
// moment for it to go out.
Undelivered PublishOutcome(const PublishTarget& target, const BoardRecord& record)
{
    const std::unique_ptr<Publisher> publisher = target.MakeForTests(record.Serial);
    if (!publisher)
        return {1, QStringLiteral("the MQTT module cannot be loaded")};
    publisher->TestOutcome(TestRecordJson::Outcome(record));
    Undelivered left;
    left.Count = publisher->Close();
    left.Problem = publisher->Problem();
    return left;
}

void SayUndelivered(const std::vector<Undelivered>& publishing)
{
    for (const Undelivered& board : publishing) {
        if (board.Count > 0) {
            Console::Err(QStringLiteral("korvadex-cli: a verdict was not delivered to the broker: %1")
                             .arg(board.Problem.isEmpty() ? QStringLiteral("no answer in time") : board.Problem));
        }
    }
}

// Every board's test on a thread of its own; the table is drawn here, on
// the command's thread, as their runs start and end. With a target, each
// board's verdict is published from its thread as its test ends.
std::vector<BoardRecord> TestAll(const TestPlan& plan, const QStringList& boards, const BoardTester::Options& options,
                                 const std::optional<PublishTarget>& target)
{
    std::vector<Undelivered> publishing(static_cast<std::size_t>(boards.size()));
    TestTable table(Terminal::StdoutRedraws(), boards);
    std::vector<BoardRecord> records(static_cast<std::size_t>(boards.size()));
    std::vector<std::unique_ptr<QThread>> threads;
    QEventLoop loop;
    int running = static_cast<int>(boards.size());
    for (int i = 0; i < boards.size(); ++i) {
        const auto progress = [&table, &loop, i](const QString& serial, const QString& step, std::optional<Verdict> outcome) {
            QMetaObject::invokeMethod(&loop, [&table, i, serial, step, outcome] { table.Update(i, serial, step, outcome); },
                                      Qt::QueuedConnection);
        };
        BoardTester* tester = new BoardTester(plan, boards[i], options, progress);
        threads.emplace_back(QThread::create([tester, &records, &publishing, &target, i] {
            const auto board = static_cast<std::size_t>(i);
            records[board] = tester->Run();
            delete tester;
            if (target)
                publishing[board] = PublishOutcome(*target, records[board]);
        }));
        QObject::connect(threads.back().get(), &QThread::finished, &loop, [&running, &loop] {
            if (--running == 0)
                loop.quit();
        });
    }
    for (const std::unique_ptr<QThread>& thread : threads)
        thread->start();
    loop.exec();
    for (const std::unique_ptr<QThread>& thread : threads)
        thread->wait();
    // The last runs' lines, posted before their threads ended.
    QCoreApplication::sendPostedEvents(&loop);
    table.Finish(records);
    SayUndelivered(publishing);
    return records;
}

bool WriteJson(const QDir& folder, const std::vector<BoardRecord>& records)
{
    bool written = true;
    for (const BoardRecord& record : records) {
        const QString name =
            QStringLiteral("%1_%2.json").arg(record.Serial.isEmpty() ? QStringLiteral("board") : record.Serial, record.RunId);
        written = OutputFile::Write(folder.filePath(name), TestRecordJson::Write(record)) && written;
    }
    return written;
}

bool WriteRecords(const CommandLine& line, const std::vector<BoardRecord>& records)
{
    bool written = true;
    if (line.Has(JsonOption))
        written = WriteJson(QDir(line.Value(JsonOption)), records);
    if (line.Has(JunitOption))
        written = OutputFile::Write(line.Value(JunitOption), JunitReport::Write(records)) && written;
    return written;
}

// Every record into the results database. When it cannot be opened or
// refuses a record, the run's records are kept as JSON instead (already in
// --json's folder, else written into the keep folder) to be pushed later.
bool StoreRecords(const QString& url, const CommandLine& line, const QString& keepFolder,
                  const std::vector<BoardRecord>& records)
{
    QString error;
    const std::unique_ptr<ResultsStore> store = ResultsStore::Open(url, error);
    int refused = 0;
    for (const BoardRecord& record : records) {
        if (store && store->Store(record))
            continue;
        if (store)
            error = store->Error();
        ++refused;
    }
    if (refused == 0)
        return true;
    Console::Err(QStringLiteral("korvadex-cli: %1 of %2 records not stored: %3").arg(refused).arg(records.size()).arg(error));
    const QString folder = line.Has(JsonOption) ? line.Value(JsonOption) : keepFolder;
    if (line.Has(JsonOption) || (QDir().mkpath(folder) && WriteJson(QDir(folder), records))) {
        Console::Err(QStringLiteral("korvadex-cli: the run's records are kept as JSON in %1; "
                                    "korvadex-cli results push %1 --db URL stores them")
                         .arg(folder));
    }
    return false;
}

// Options that touch boards, which a re-check has none of. (--keep names
// where its records go when the database refuses them.)
QString RecheckFault(const CommandLine& line)
{
    for (const QString& option : {AllBoardsOption, PublishOptions::Publish, BoardConnection::StallOption}) {
        if (line.Has(option))
            return QStringLiteral("%1 takes no %2").arg(RecheckOption, option);
    }
    return QString();
}

// The stored tests of the plan's name (of the boards named, if any), or
// nothing after saying why on standard error.
std::optional<std::vector<KeptTest>> KeptTestsOf(const TestPlan& plan, const QString& url, const QStringList& boards)
{
    QString error;
    const std::unique_ptr<ResultsStore> store = ResultsStore::Exists(url) ? ResultsStore::Open(url, error) : nullptr;
    if (!store) {
        Console::Err(QStringLiteral("korvadex-cli: no results database to re-check: %1").arg(error.isEmpty() ? url : error));
        return std::nullopt;
    }
    std::optional<std::vector<KeptTest>> kept = ResultsQuery(*store, ResultsFilter{QString(), plan.Name, std::nullopt}).KeptTests();
    if (!kept) {
        Console::Err(QStringLiteral("korvadex-cli: %1").arg(store->Error()));
        return std::nullopt;
    }
    if (!boards.isEmpty()) {
        kept->erase(std::remove_if(kept->begin(), kept->end(), [&](const KeptTest& test) { return !boards.contains(test.Serial); }),
                    kept->end());
    }
    return kept;
}

int ExitCodeOf(const std::vector<BoardRecord>& records)
{
    if (InterruptFlag::Raised())
        return ExitStopped;
    Verdict worst = Verdict::Pass;
    for (const BoardRecord& record : records)
        worst = Worst(worst, record.Outcome);
    switch (worst) {
    case Verdict::Pass:
    case Verdict::Marginal:
        return ExitDone;
    case Verdict::Fail:
        return 1;
    case Verdict::Error:
        break;
    }
    return ExitNotFound;
}

// The records written, stored and judged: the command's exit code.
int Conclude(const CommandLine& line, const QString& url, const QString& keepFolder,
             const std::vector<BoardRecord>& records)
{
    const bool written = WriteRecords(line, records);
    const bool stored = StoreRecords(url, line, keepFolder, records);
    const int verdict = ExitCodeOf(records);
    // A run whose boards all passed but whose results went only to files
    // is not done: a script must look.
    if (!written || (!stored && verdict == ExitDone))
        return ExitUsageOrFile;
    return verdict;
}

// The stored tests of the plan judged again, with no board.
int Recheck(const CommandLine& line, const TestPlan& plan, const QString& url)
{
    const QString fault = RecheckFault(line);
    if (!fault.isEmpty())
        return Usage::Fail(fault);
    const std::optional<std::vector<KeptTest>> kept = KeptTestsOf(plan, url, line.Values(BoardChoice::Option));
    if (!kept)
        return ExitUsageOrFile;
    if (kept->empty()) {
        Console::Err(QStringLiteral("korvadex-cli: the results database holds no test of the plan \"%1\"%2 to re-check")
                         .arg(plan.Name, line.Has(BoardChoice::Option) ? QStringLiteral(" on those boards") : QString()));
        return ExitNotFound;
    }
    if (line.Has(JsonOption) && !QDir().mkpath(line.Value(JsonOption))) {
        Console::Err(QStringLiteral("korvadex-cli: cannot make the folder %1").arg(line.Value(JsonOption)));
        return ExitUsageOrFile;
    }
    std::vector<BoardRecord> records;
    for (const KeptTest& test : *kept)
        records.push_back(TestRecheck::Of(plan, test, Station(line), Operator(line)));
    TestTable(false, {}).Finish(records);
    return Conclude(line, url, line.Has(KeepOption) ? line.Value(KeepOption) : DefaultKeepFolder, records);
}

} // namespace

int TestCommand::Run(const QStringList& words)
{
    CommandLine line;
    if (!line.Parse(words, PublishOptions::With({{BoardChoice::Option, true, false, true}, {AllBoardsOption, false},
                                                 {LimitsOption, true}, {DecimalCommaOption, false}, {JsonOption, true},
                                                 {JunitOption, true}, {KeepOption, true}, {StationOption, true},
                                                 {OperatorOption, true}, {BoardConnection::StallOption, true},
                                                 {DbOption, true}, {RecheckOption, false}, {Usage::HelpOption, false}})))
        return Usage::Fail(line.Error());
    if (line.Has(Usage::HelpOption))
        return Usage::Help(QString::fromUtf8(HelpText));
    if (line.Positional().size() != 1)
        return Usage::Fail(QStringLiteral("test takes one plan file, PLAN.toml"));
    if (line.Has(DecimalCommaOption) && !line.Has(LimitsOption))
        return Usage::Fail(QStringLiteral("%1 goes with %2").arg(DecimalCommaOption, LimitsOption));
    const auto stallTimeout = BoardConnection::StallTimeout(line);
    if (!stallTimeout)
        return Usage::Fail(QStringLiteral("%1 takes a number of seconds").arg(BoardConnection::StallOption));
    const QString boardsFault = BoardsFault(line);
    if (!boardsFault.isEmpty())
        return Usage::Fail(boardsFault);
    const QString url = line.Has(DbOption) ? line.Value(DbOption) : ResultsStore::DefaultUrl;
    QString urlError;
    if (!ResultsStore::Knows(url, urlError))
        return Usage::Fail(urlError);
    QString publishError;
    const std::optional<PublishTarget> target = PublishOptions::Target(line, publishError);
    if (!publishError.isEmpty())
        return Usage::Fail(publishError);
    if (target && target->Type != PublishTarget::Kind::Mqtt)
        return Usage::Fail(QStringLiteral("test publishes its verdicts to mqtt://HOST[:PORT]/PREFIX only"));
    const std::optional<TestPlan> plan = ReadPlan(line);
    if (!plan)
        return ExitUsageOrFile;
    if (line.Has(RecheckOption))
        return Recheck(line, *plan, url);

    BoardTester::Options options;
    options.Station = Station(line);
    options.Operator = Operator(line);
    options.KeepFolder = line.Has(KeepOption) ? line.Value(KeepOption) : DefaultKeepFolder;
    options.StallTimeout = *stallTimeout;
    // The boards' threads analyse their runs: FFTW is loaded here, where a
    // missing module can still end the command.
    std::string fftwError;
    if (FftwModule::Load(fftwError) == nullptr) {
        Console::Err(QStringLiteral("korvadex-cli: %1").arg(QString::fromStdString(fftwError)));
        return ExitUsageOrFile;
    }
    const std::optional<QStringList> boards = Boards(line);
    if (!boards)
        return ExitNotFound;
    for (const QString& folder : {options.KeepFolder, line.Has(JsonOption) ? line.Value(JsonOption) : QString()}) {
        if (!folder.isEmpty() && !QDir().mkpath(folder)) {
            Console::Err(QStringLiteral("korvadex-cli: cannot make the folder %1").arg(folder));
            return ExitUsageOrFile;
        }
    }

    return Conclude(line, url, options.KeepFolder, TestAll(*plan, *boards, options, target));
}
