// korvadex-cli test run as a process on several virtual boards at once: each
// board's verdict, records and raw runs, and the exit code of every outcome.

#include "CliProcess.h"
#include "DtaFiles.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>

namespace {

// CH0 sits at 1000 µV on the virtual board: a board shifted by 120 µV fails
// a mean of 1000 ± 50 µV, one shifted by 40 µV is marginal.
const QByteArray Plan = R"([plan]
name = "offset"
version = "1"

[[step]]
name = "offset 1 kSPS"
rate = "1ksps"
count = 1000
channel = 0
filter = "sinc5"
repeat = 2

[step.limits]
mean_uV = { low = 950, high = 1050, marginal_high = 1030 }
rms_uV = { high = 20 }
)";

class TestCommand : public ::testing::Test {
protected:
    QString Write(const QString& name, const QByteArray& text)
    {
        QFile file(folder.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
        return file.fileName();
    }

    CliResult Test(const QString& devices, QStringList more, CliProcess::Environment board = {})
    {
        const QStringList words = QStringList{QStringLiteral("test"), Write(QStringLiteral("plan.toml"), Plan),
                                              QStringLiteral("--keep"), raw, QStringLiteral("--json"), records,
                                              QStringLiteral("--db"), database}
                                  + more;
        board.insert(QStringLiteral("KORVADEX_SIM_DEVICES"), devices);
        board.insert(QStringLiteral("KORVADEX_SIM_SPEED"), QStringLiteral("10"));
        board.insert(QStringLiteral("KORVADEX_SIM_SEED"), QStringLiteral("7"));
        return CliProcess::Run(words, board);
    }

    // Each board's record by its serial.
    std::map<QString, QJsonObject> Records() const
    {
        std::map<QString, QJsonObject> bySerial;
        for (const QString& name : QDir(records).entryList({QStringLiteral("*.json")})) {
            QFile file(QDir(records).filePath(name));
            EXPECT_TRUE(file.open(QIODevice::ReadOnly));
            const QJsonObject record = QJsonDocument::fromJson(file.readAll()).object();
            bySerial[record[QStringLiteral("dut_id")].toString()] = record;
        }
        return bySerial;
    }

    QTemporaryDir folder;
    QString raw = folder.filePath(QStringLiteral("raw"));
    QString records = folder.filePath(QStringLiteral("records"));
    // The results database in the test's own folder, not the current one.
    QString database = QStringLiteral("sqlite:") + folder.filePath(QStringLiteral("results.sqlite"));
};

// Both runs of one board, measured while the other's were: the boards are
// tested side by side, not one after the other.
bool Overlap(const QJsonObject& a, const QJsonObject& b)
{
    const auto start = [](const QJsonObject& r) { return r[QStringLiteral("phases")][0][QStringLiteral("start_time_millis")].toInteger(); };
    const auto end = [](const QJsonObject& r) { return r[QStringLiteral("phases")][1][QStringLiteral("end_time_millis")].toInteger(); };
    return start(a) < end(b) && start(b) < end(a);
}

TEST_F(TestCommand, EachBoardGetsItsVerdictSideBySideWithItsRecordsAndRuns)
{
    const QString junit = folder.filePath(QStringLiteral("junit.xml"));
    const CliResult r = Test(QStringLiteral("KVX0001:board,cable:silent,KVX0002:board:offset_uV=120,KVX0003:board:offset_uV=40"),
                             {QStringLiteral("--all-boards"), QStringLiteral("--junit"), junit, QStringLiteral("--station"),
                              QStringLiteral("bench 3")});
    EXPECT_EQ(r.ExitCode, 1) << r.Err.toStdString();
    // Plain lines when standard output is not a terminal: a line per run, then a line per board.
    EXPECT_TRUE(r.OutLines().contains(QStringLiteral("KVX0002  FAIL  2 runs"))) << r.Out.toStdString();
    EXPECT_TRUE(r.OutLines().contains(QStringLiteral("KVX0001  PASS  2 runs"))) << r.Out.toStdString();
    EXPECT_TRUE(r.OutLines().contains(QStringLiteral("KVX0003  MARGINAL  2 runs"))) << r.Out.toStdString();
    EXPECT_EQ(r.OutLines().filter(QStringLiteral("step 1/1 offset 1 kSPS (2/2)")).size(), 3);

    std::map<QString, QJsonObject> found = Records();
    ASSERT_EQ(found.size(), 3u);  // the USB-serial cable is no board, and is left out
    EXPECT_TRUE(Overlap(found[QStringLiteral("KVX0001")], found[QStringLiteral("KVX0002")]));
    for (const auto& [serial, record] : found) {
        SCOPED_TRACE(serial.toStdString());
        EXPECT_EQ(record[QStringLiteral("station_id")].toString(), "bench 3");
        for (const QJsonValue phase : record[QStringLiteral("phases")].toArray()) {
            const LoadedRun run = LoadDta(phase[QStringLiteral("raw_file")].toString());
            ASSERT_TRUE(run.Ok);
            EXPECT_EQ(run.Ch0.size(), 1000u);
            const QJsonObject mean = phase[QStringLiteral("measurements")][QStringLiteral("ch0.mean_uV")].toObject();
            EXPECT_EQ(mean[QStringLiteral("outcome")].toString(), record[QStringLiteral("outcome")].toString());
        }
    }
    EXPECT_NEAR(found[QStringLiteral("KVX0002")][QStringLiteral("phases")][0][QStringLiteral("measurements")]
                     [QStringLiteral("ch0.mean_uV")][QStringLiteral("measured_value")].toDouble(),
                1120.0, 1.0);
    EXPECT_EQ(QDir(raw).entryList({QStringLiteral("*.DTA")}).size(), 6);
    QFile xml(junit);
    ASSERT_TRUE(xml.open(QIODevice::ReadOnly));
    EXPECT_EQ(xml.readAll().count("<testsuite "), 3);
}

struct Outcome {
    const char* Name;
    const char* Devices;
    QStringList More;
    int ExitCode;
    const char* Line;  // on standard output, or standard error when the test is refused
    CliProcess::Environment Board = {};
};

class TestOutcomes : public TestCommand, public ::testing::WithParamInterface<Outcome> {};

TEST_P(TestOutcomes, EndWithTheirExitCode)
{
    const Outcome& o = GetParam();
    const CliResult r = Test(QString::fromLatin1(o.Devices), o.More, o.Board);
    EXPECT_EQ(r.ExitCode, o.ExitCode) << r.Err.toStdString();
    const QString line = QString::fromUtf8(o.Line);
    EXPECT_TRUE(r.Out.contains(line) || r.Err.contains(line)) << r.Out.toStdString() << r.Err.toStdString();
    if (o.ExitCode == 2) {
        EXPECT_FALSE(QDir(raw).exists());  // refused before any board was touched
    }
}

INSTANTIATE_TEST_SUITE_P(
    Board, TestOutcomes,
    ::testing::Values(
        Outcome{"OnlyBoard", "KVX0001:board", {}, 0, "KVX0001  PASS  2 runs"},
        Outcome{"NamedBoardsOneMissing", "KVX0001:board,KVX0002:board",
                {QStringLiteral("--board"), QStringLiteral("KVX0002"), QStringLiteral("--board"), QStringLiteral("NOPE")}, 3,
                "NOPE  ERROR  0 runs  the board could not be reached (exit code 3)"},
        // The cable comes out in the second run: its first stays judged.
        Outcome{"LostMidTest", "KVX0001:board", {QStringLiteral("--board"), QStringLiteral("KVX0001")}, 3,
                "KVX0001  ERROR  2 runs  cable pulled", {{QStringLiteral("KORVADEX_SIM_CABLE_PULL_AFTER"), QStringLiteral("4500")}}},
        Outcome{"NoBoards", "cable:silent", {QStringLiteral("--all-boards")}, 3, "no KORVADEX Board is attached"},
        Outcome{"BothChoices", "KVX0001:board", {QStringLiteral("--all-boards"), QStringLiteral("--board"), QStringLiteral("KVX0001")},
                2, "test takes --board or --all-boards, not both"},
        Outcome{"PublishToAFile", "KVX0001:board", {QStringLiteral("--publish"), QStringLiteral("influx-file:live.lp")}, 2,
                "test publishes its verdicts to mqtt://HOST[:PORT]/PREFIX only"},
        Outcome{"RecheckWithoutDatabase", "KVX0001:board", {QStringLiteral("--recheck")}, 2, "no results database to re-check"},
        Outcome{"RecheckOfBoards", "KVX0001:board", {QStringLiteral("--recheck"), QStringLiteral("--all-boards")}, 2,
                "--recheck takes no --all-boards"},
        Outcome{"BadLimits", "KVX0001:board", {QStringLiteral("--limits"), QStringLiteral("/nonexistent/limits.csv")}, 2,
                "the limits are refused: /nonexistent/limits.csv: cannot be read"}),
    [](const ::testing::TestParamInfo<Outcome>& info) { return std::string(info.param.Name); });

// Ctrl-C once the first board's first run is kept: every board stops, and
// each record says what was judged before.
TEST_F(TestCommand, CtrlCStopsEveryBoardAndKeepsTheirRecords)
{
    const QString plan = Write(QStringLiteral("plan.toml"), Plan);
    const auto firstKept = [this] { return !QDir(raw).entryList({QStringLiteral("*.DTA")}).isEmpty(); };
    const CliResult r = CliProcess::RunSignalledWhen(
        {QStringLiteral("test"), plan, QStringLiteral("--all-boards"), QStringLiteral("--keep"), raw, QStringLiteral("--json"), records,
         QStringLiteral("--db"), database},
        {{QStringLiteral("KORVADEX_SIM_DEVICES"), QStringLiteral("KVX0001:board,KVX0002:board")}}, firstKept, Stop::CtrlC);
    ASSERT_TRUE(r.Finished);
    EXPECT_EQ(r.ExitCode, 130) << r.Err.toStdString();
    const std::map<QString, QJsonObject> found = Records();
    ASSERT_EQ(found.size(), 2u);
    for (const auto& [serial, record] : found) {
        EXPECT_EQ(record[QStringLiteral("outcome")].toString(), "ERROR");
        const QJsonArray phases = record[QStringLiteral("phases")].toArray();
        ASSERT_FALSE(phases.isEmpty());
        EXPECT_EQ(phases.last()[QStringLiteral("error")].toString(), "stopped by the operator");
    }
}

TEST_F(TestCommand, ABadPlanIsRefusedWithWhereAndWhat)
{
    const QString plan = Write(QStringLiteral("bad.toml"), QByteArray(Plan).replace("1ksps", "3ksps"));
    const CliResult r = CliProcess::Run({QStringLiteral("test"), plan, QStringLiteral("--keep"), raw});
    EXPECT_EQ(r.ExitCode, 2);
    EXPECT_TRUE(r.Err.startsWith(QStringLiteral("korvadex-cli: the plan is refused: %1:7:8: unknown rate \"3ksps\"").arg(plan)))
        << r.Err.toStdString();
    EXPECT_FALSE(QDir(raw).exists());
}

// With no board attached, --recheck judges the kept runs of the stored tests
// again: against widened limits the failed board passes on the very same
// values, each re-check is stored linked to its test, and a step whose
// settings changed cannot be judged from runs taken at others.
TEST_F(TestCommand, RecheckJudgesTheKeptRunsAgainstThePlanAsItIsNow)
{
    ASSERT_EQ(Test(QStringLiteral("KVX0001:board,KVX0002:board:offset_uV=120"), {QStringLiteral("--all-boards")}).ExitCode, 1);
    const std::map<QString, QJsonObject> tested = Records();
    QDir(records).removeRecursively();
    const auto recheck = [&](const QByteArray& plan) {
        return CliProcess::Run({QStringLiteral("test"), Write(QStringLiteral("now.toml"), plan), QStringLiteral("--recheck"),
                                QStringLiteral("--db"), database, QStringLiteral("--json"), records},
                               {{QStringLiteral("KORVADEX_SIM_DEVICES"), QString()}});
    };
    const CliResult widened = recheck(QByteArray(Plan).replace("high = 1050, marginal_high = 1030", "high = 1200"));
    EXPECT_EQ(widened.ExitCode, 0) << widened.Err.toStdString();
    const std::map<QString, QJsonObject> rechecked = Records();
    ASSERT_EQ(rechecked.size(), 2u);
    for (const auto& [serial, record] : rechecked) {
        SCOPED_TRACE(serial.toStdString());
        const QJsonObject original = tested.at(serial);
        EXPECT_EQ(record[QStringLiteral("outcome")].toString(), QStringLiteral("PASS"));
        EXPECT_EQ(record[QStringLiteral("metadata")][QStringLiteral("recheck_of")], original[QStringLiteral("metadata")][QStringLiteral("run_id")]);
        EXPECT_TRUE(widened.OutLines().contains(QStringLiteral("%1  PASS  2 runs  re-check of %2")
                                                     .arg(serial, original[QStringLiteral("metadata")][QStringLiteral("run_id")].toString())));
        for (int phase = 0; phase < 2; ++phase) {
            const auto value = [phase](const QJsonObject& r) {
                return r[QStringLiteral("phases")][phase][QStringLiteral("measurements")][QStringLiteral("ch0.mean_uV")]
                        [QStringLiteral("measured_value")].toDouble();
            };
            EXPECT_EQ(value(record), value(original));
        }
    }
    const CliResult stored = CliProcess::Run({QStringLiteral("results"), QStringLiteral("--csv"), QStringLiteral("--db"), database});
    ASSERT_EQ(stored.ExitCode, 0) << stored.Err.toStdString();
    EXPECT_TRUE(stored.OutLines().front().endsWith(QStringLiteral(",recheck_of"))) << stored.OutLines().front().toStdString();
    EXPECT_EQ(stored.OutLines().filter(tested.at(QStringLiteral("KVX0002"))[QStringLiteral("metadata")][QStringLiteral("run_id")].toString()).size(),
              8);  // its 4 measurements, and their 4 re-checks

    const CliResult recounted = recheck(QByteArray(Plan).replace("count = 1000", "count = 2000"));
    EXPECT_EQ(recounted.ExitCode, 3);
    EXPECT_TRUE(recounted.Out.contains(QStringLiteral("was taken at 1ksps, 1000, CH0"))) << recounted.Out.toStdString();
}

} // namespace
