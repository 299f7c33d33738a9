// korvadex-cli test storing its boards' records, and korvadex-cli results,
// run as processes on the virtual boards and real databases.

#include "CliProcess.h"
#include "ResultsQuery.h"
#include "ResultsSchema.h"
#include "ResultsStore.h"
#include "TestApplication.h"
#include "TestDatabases.h"
#include "TestRecordJson.h"
#include "TestRecords.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QProcess>

#include <functional>

#include "QtPrinting.h"

#include <gtest/gtest.h>

namespace {

const char* const Plan = R"([plan]
name = "smoke"
version = 1

[[step]]
name = "noise"
rate = "10ksps"
count = 1000
channel = 0
filter = "sinc5"
repeat = 2

[step.limits]
rms_uV = { high = 1e9 }
)";

// Two boards twenty times faster than life.
const CliProcess::Environment Boards{{QStringLiteral("KORVADEX_SIM_SPEED"), QStringLiteral("20")},
                                     {QStringLiteral("KORVADEX_SIM_DEVICES"), QStringLiteral("KVX0001:board,KVX0002:board")}};

std::size_t StoredRuns(const QString& url)
{
    QString error;
    const std::unique_ptr<ResultsStore> store = ResultsStore::Open(url, error);
    if (!store) {
        ADD_FAILURE() << error.toStdString();
        return 0;
    }
    ResultsQuery query(*store, {});
    const auto runs = query.Runs();
    return runs ? runs->size() : 0;
}

class ResultsCommandTest : public ::testing::Test {
protected:
    QString Path(const QString& name) const { return QDir(databases_.Folder()).filePath(name); }

    QStringList TestWords(const QString& url) const
    {
        QFile file(Path(QStringLiteral("plan.toml")));
        if (file.open(QIODevice::WriteOnly))
            file.write(Plan);
        return {QStringLiteral("test"), file.fileName(), QStringLiteral("--all-boards"), QStringLiteral("--db"), url,
                QStringLiteral("--keep"), Path(QStringLiteral("raw")), QStringLiteral("--station"), QStringLiteral("bench;1")};
    }

    // Folder `name` with `count` records of their own run ids.
    QString RecordFolder(const QString& name, int count) const
    {
        QDir().mkpath(Path(name));
        for (int i = 0; i < count; ++i) {
            const QString run = QStringLiteral("%1-%2").arg(name).arg(i);
            QFile file(QDir(Path(name)).filePath(run + QStringLiteral(".json")));
            if (file.open(QIODevice::WriteOnly))
                file.write(TestRecordJson::Write(
                    NoiseRecord(QStringLiteral("KVX-") + run, run, 1772438400000 + i, Verdict::Pass, {1.5, 2.5})));
        }
        return Path(name);
    }

    TestDatabases databases_;
};

TEST_F(ResultsCommandTest, ATestStoresEveryBoardsRunForResultsToShow)
{
    const QString url = databases_.SqliteUrl();
    const CliResult run = CliProcess::Run(TestWords(url), Boards);
    ASSERT_EQ(run.ExitCode, 0) << run.Err.toStdString();

    const CliResult listed = CliProcess::Run({QStringLiteral("results"), QStringLiteral("--db"), url, QStringLiteral("--csv"),
                                              QStringLiteral("--serial"), QStringLiteral("KVX0002")});
    ASSERT_EQ(listed.ExitCode, 0) << listed.Err.toStdString();
    const QStringList lines = listed.OutLines();
    ASSERT_EQ(lines.size(), 3) << listed.Out.toStdString();
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("serial,plan,station,operator,run_id,start_utc,step,repeat,figure,")));
    for (int repeat = 1; repeat <= 2; ++repeat) {
        const QStringList fields = lines[repeat].split(QLatin1Char(','));
        EXPECT_EQ(fields.mid(0, 3), (QStringList{QStringLiteral("KVX0002"), QStringLiteral("smoke"), QStringLiteral("bench;1")}));
        EXPECT_EQ(fields.mid(6, 4),
                  (QStringList{QStringLiteral("noise"), QString::number(repeat), QStringLiteral("rms_uV"), QStringLiteral("0")}));
        EXPECT_EQ(fields[18], QStringLiteral("PASS"));
        EXPECT_TRUE(QFile::exists(fields[19])) << fields[19].toStdString();
    }

    const CliResult yield = CliProcess::Run({QStringLiteral("results"), QStringLiteral("--db"), url, QStringLiteral("--yield"),
                                             QStringLiteral("--csv")});
    ASSERT_EQ(yield.ExitCode, 0) << yield.Err.toStdString();
    const QString today = QDateTime::currentDateTimeUtc().date().toString(Qt::ISODate);
    EXPECT_EQ(yield.OutLines().value(1), QStringLiteral("smoke,%1,2,2,1").arg(today));
}

struct Unreachable {
    const char* Name;
    // The database's URL, made unfit by the test.
    std::function<QString(const TestDatabases&)> Database;
};

void PrintTo(const Unreachable& database, std::ostream* out)
{
    *out << database.Name;
}

class ResultsCommandFailure : public ResultsCommandTest, public ::testing::WithParamInterface<Unreachable> {};

TEST_P(ResultsCommandFailure, ADatabaseThatDoesNotTakeTheRecordsLosesNothing)
{
    const QString url = GetParam().Database(databases_);
    const CliResult run = CliProcess::Run(TestWords(url), Boards);
    EXPECT_EQ(run.ExitCode, 2);
    EXPECT_TRUE(run.Err.contains(QStringLiteral("2 of 2 records not stored"))) << run.Err.toStdString();
    EXPECT_TRUE(run.Err.contains(QStringLiteral("kept as JSON in %1").arg(Path(QStringLiteral("raw"))))) << run.Err.toStdString();

    const QString later = databases_.SqliteUrl(QStringLiteral("later.sqlite"));
    const CliResult pushed =
        CliProcess::Run({QStringLiteral("results"), QStringLiteral("push"), Path(QStringLiteral("raw")), QStringLiteral("--db"), later});
    EXPECT_EQ(pushed.ExitCode, 0) << pushed.Err.toStdString();
    EXPECT_EQ(StoredRuns(later), 2u);
}

INSTANTIATE_TEST_SUITE_P(
    Databases, ResultsCommandFailure,
    ::testing::Values(Unreachable{"ServerNotListening", [](const TestDatabases&) { return TestDatabases::UnreachablePostgresUrl(); }},
                      Unreachable{"NewerSchema",
                                  [](const TestDatabases& databases) {
                                      QString error;
                                      const QString url = databases.SqliteUrl(QStringLiteral("newer.sqlite"));
                                      const std::unique_ptr<ResultsStore> store = ResultsStore::Open(url, error);
                                      store->Execute(QStringLiteral("UPDATE schema_version SET version = $1"),
                                                     {static_cast<std::int64_t>(ResultsSchema::Version + 1)});
                                      return url;
                                  }}),
    [](const ::testing::TestParamInfo<Unreachable>& info) { return std::string(info.param.Name); });

TEST_F(ResultsCommandTest, ResultsOfAnSqliteFileThatIsNotThereAreRefusedAndNoFileIsMade)
{
    const QString url = databases_.SqliteUrl(QStringLiteral("mistyped.sqlite"));
    const CliResult listed = CliProcess::Run({QStringLiteral("results"), QStringLiteral("--db"), url});
    EXPECT_EQ(listed.ExitCode, 2);
    EXPECT_EQ(listed.Err.trimmed(), QStringLiteral("korvadex-cli: no results database %1").arg(url));
    EXPECT_FALSE(QFile::exists(Path(QStringLiteral("mistyped.sqlite"))));
}

TEST_F(ResultsCommandTest, ADatabaseOfNoKnownKindIsRefusedBeforeAnyBoardIsTouched)
{
    const CliResult run = CliProcess::Run(TestWords(QStringLiteral("mysql://lab@127.0.0.1/results")),
                                          {{QStringLiteral("KORVADEX_SIM_FAULTS"), QStringLiteral("absent")}});
    EXPECT_EQ(run.ExitCode, 2);
    EXPECT_TRUE(run.Err.startsWith(QStringLiteral("korvadex-cli: the results database \"mysql://lab@127.0.0.1/results\" is "
                                                  "neither sqlite:PATH nor postgresql://")))
        << run.Err.toStdString();
    EXPECT_FALSE(QDir(Path(QStringLiteral("raw"))).exists());
}

TEST_F(ResultsCommandTest, TwoPushesIntoOneSqliteFileAtOnceStoreEveryRecordOnce)
{
    const QString url = databases_.SqliteUrl();
    const QStringList folders{RecordFolder(QStringLiteral("a"), 100), RecordFolder(QStringLiteral("b"), 100)};
    EnsureTestApplication();
    std::vector<std::unique_ptr<QProcess>> pushes;
    for (const QString& folder : folders) {
        pushes.push_back(std::make_unique<QProcess>());
        pushes.back()->start(QStringLiteral(CLI_PROGRAM), {QStringLiteral("results"), QStringLiteral("push"), folder,
                                                            QStringLiteral("--db"), url});
    }
    for (const std::unique_ptr<QProcess>& push : pushes) {
        ASSERT_TRUE(push->waitForFinished(60000));
        EXPECT_EQ(push->exitCode(), 0) << push->readAllStandardError().toStdString();
    }
    EXPECT_EQ(StoredRuns(url), 200u);

    const CliResult again = CliProcess::Run({QStringLiteral("results"), QStringLiteral("push"), folders[0], QStringLiteral("--db"), url});
    EXPECT_EQ(again.ExitCode, 0) << again.Err.toStdString();
    EXPECT_EQ(StoredRuns(url), 200u);
    const CliResult listed = CliProcess::Run({QStringLiteral("results"), QStringLiteral("--db"), url, QStringLiteral("--csv")});
    EXPECT_EQ(listed.OutLines().size(), 1 + 200 * 2);
}

// --report draws three figures a page: four plans' figures make a PDF of
// two pages, or two PNG pages; a file of another kind, or --report with
// --csv, is refused and nothing is written.
TEST_F(ResultsCommandTest, TheReportDrawsThreeFiguresAPage)
{
    const QString url = databases_.SqliteUrl();
    QString error;
    std::unique_ptr<ResultsStore> store = ResultsStore::Open(url, error);
    ASSERT_TRUE(store) << error.toStdString();
    for (int plan = 0; plan < 4; ++plan) {
        for (int board = 0; board < 5; ++board) {
            BoardRecord record = NoiseRecord(QStringLiteral("KVX%1").arg(board), QStringLiteral("%1-%2").arg(plan).arg(board),
                                             1772438400000 + board * 3600000, Verdict::Pass, {2.0 + board, 12.0});
            record.PlanName = QStringLiteral("plan %1").arg(plan);
            ASSERT_TRUE(store->Store(record)) << store->Error().toStdString();
        }
    }
    store.reset();
    const auto report = [&](const QString& name, QStringList more = {}) {
        return CliProcess::Run(QStringList{QStringLiteral("results"), QStringLiteral("--db"), url, QStringLiteral("--report"), Path(name)}
                               + more);
    };
    const CliResult pdf = report(QStringLiteral("results.pdf"));
    ASSERT_EQ(pdf.ExitCode, 0) << pdf.Err.toStdString();
    QFile file(Path(QStringLiteral("results.pdf")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_TRUE(bytes.startsWith("%PDF-"));
    EXPECT_EQ(bytes.count("/Type /Page\n") + bytes.count("/Type /Page\r") + bytes.count("/Type /Page "), 2);

    ASSERT_EQ(report(QStringLiteral("results.png")).ExitCode, 0);
    EXPECT_EQ(QDir(databases_.Folder()).entryList({QStringLiteral("results-*.png")}),
              (QStringList{QStringLiteral("results-1.png"), QStringLiteral("results-2.png")}));

    const CliResult text = report(QStringLiteral("results.txt"));
    EXPECT_EQ(text.ExitCode, 2);
    EXPECT_TRUE(text.Err.contains(QStringLiteral("ends in neither .pdf nor .png"))) << text.Err.toStdString();
    EXPECT_EQ(report(QStringLiteral("other.pdf"), {QStringLiteral("--csv")}).ExitCode, 2);
    EXPECT_FALSE(QFile::exists(Path(QStringLiteral("results.txt"))));
    EXPECT_FALSE(QFile::exists(Path(QStringLiteral("other.pdf"))));
}

} // namespace
