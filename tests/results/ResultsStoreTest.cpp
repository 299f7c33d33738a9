// The results database's behaviour, the same against an SQLite file and a
// real PostgreSQL server on the loopback address.

#include "FirstPassYield.h"
#include "ProcessCapability.h"
#include "ResultsSchema.h"
#include "ResultsStore.h"
#include "TestDatabases.h"
#include "TestRecords.h"

#include <QDateTime>

#include "QtPrinting.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numeric>

namespace {

const std::int64_t Day1 = QDateTime(QDate(2026, 3, 2), QTime(8, 0), Qt::UTC).toMSecsSinceEpoch();
const std::int64_t Day2 = QDateTime(QDate(2026, 3, 3), QTime(23, 59), Qt::UTC).toMSecsSinceEpoch();

class ResultsStoreTest : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override
    {
        url_ = GetParam() == std::string("SQLite") ? databases_.SqliteUrl() : databases_.PostgresUrl();
        ASSERT_FALSE(url_.isEmpty()) << "the run's PostgreSQL server (postgres-server.sh) is not there";
        store_ = Open();
        ASSERT_TRUE(store_);
    }

    std::unique_ptr<ResultsStore> Open(QString* error = nullptr)
    {
        QString why;
        std::unique_ptr<ResultsStore> store = ResultsStore::Open(url_, why);
        EXPECT_TRUE(store || error) << why.toStdString();
        if (error)
            *error = why;
        return store;
    }

    std::vector<SqlRow> Listed(const ResultsFilter& filter = {})
    {
        ResultsQuery query(*store_, filter);
        const std::optional<ResultTable> table = query.Measurements();
        EXPECT_TRUE(table) << store_->Error().toStdString();
        return table ? table->Rows : std::vector<SqlRow>{};
    }

    TestDatabases databases_;
    QString url_;
    std::unique_ptr<ResultsStore> store_;
};

TEST_P(ResultsStoreTest, TextsWithQuotesAndSemicolonsComeBackIntactAndRunNothing)
{
    BoardRecord record = NoiseRecord(QStringLiteral("KVX'; DROP TABLE boards;--"), QStringLiteral("run-1"), Day1,
                                     Verdict::Fail, {2.5, INFINITY, -INFINITY, NAN});
    record.Station = QStringLiteral("bench \"7\"'; DROP TABLE stations;--");
    record.Operator = QStringLiteral("O'Brien; --");
    ASSERT_TRUE(store_->Store(record)) << store_->Error().toStdString();
    ASSERT_TRUE(store_->Store(NoiseRecord(QStringLiteral("KVX-2"), QStringLiteral("run-2"), Day1, Verdict::Pass)))
        << store_->Error().toStdString();

    const std::vector<SqlRow> rows = Listed({record.Serial, QString(), std::nullopt});
    ASSERT_EQ(rows.size(), 4u);
    const SqlRow& first = rows.front();
    EXPECT_EQ(Sql::Text(first[0]), record.Serial);
    EXPECT_EQ(Sql::Text(first[1]), QStringLiteral("noise"));
    EXPECT_EQ(Sql::Text(first[2]), record.Station);
    EXPECT_EQ(Sql::Text(first[3]), record.Operator);
    EXPECT_EQ(Sql::Text(first[4]), QStringLiteral("run-1"));
    EXPECT_EQ(Sql::Text(first[5]), QStringLiteral("2026-03-02T08:00:00.000Z"));
    EXPECT_EQ(Sql::Text(first[8]), QStringLiteral("rms_uV"));
    EXPECT_EQ(Sql::Number(first[10]), 2.5);
    EXPECT_EQ(Sql::Text(first[11]), QStringLiteral("uV"));
    EXPECT_EQ(Sql::Number(first[12]), 1.0);
    EXPECT_EQ(Sql::Number(first[13]), 9.0);
    EXPECT_TRUE(Sql::IsNull(first[14]));
    EXPECT_EQ(Sql::Text(first[18]), QStringLiteral("PASS"));
    EXPECT_EQ(Sql::Text(first[19]), QStringLiteral("korvadex-raw/run-1_1.DTA"));
    EXPECT_EQ(Sql::Text(rows[1][10]), QStringLiteral("inf"));
    EXPECT_EQ(Sql::Text(rows[2][10]), QStringLiteral("-inf"));
    EXPECT_EQ(Sql::Text(rows[3][10]), QStringLiteral("NaN"));
    EXPECT_EQ(Sql::Integer(rows[3][7]), 4);
    EXPECT_EQ(Listed().size(), 5u);
}

TEST_P(ResultsStoreTest, TheSameRunStoredTwiceIsOneRun)
{
    const BoardRecord record = NoiseRecord(QStringLiteral("KVX-1"), QStringLiteral("run-1"), Day1, Verdict::Pass, {2, 3, 4});
    ASSERT_TRUE(store_->Store(record)) << store_->Error().toStdString();
    ASSERT_TRUE(store_->Store(record)) << store_->Error().toStdString();
    store_ = Open();
    ASSERT_TRUE(store_->Store(record)) << store_->Error().toStdString();

    ResultsQuery query(*store_, {});
    EXPECT_EQ(query.Runs()->size(), 1u);
    EXPECT_EQ(Listed().size(), 3u);
}

TEST_P(ResultsStoreTest, ADatabaseOfANewerSchemaIsRefusedAndLeftAsItIs)
{
    ASSERT_TRUE(store_->Store(NoiseRecord(QStringLiteral("KVX-1"), QStringLiteral("run-1"), Day1, Verdict::Pass)));
    ASSERT_TRUE(store_->Execute(QStringLiteral("UPDATE schema_version SET version = $1"),
                                {static_cast<std::int64_t>(ResultsSchema::Version + 1)}));
    store_.reset();

    QString error;
    EXPECT_FALSE(Open(&error));
    EXPECT_EQ(error, QStringLiteral("the results database is at schema version %1, newer than this program's %2: it is "
                                    "left as it is; use a newer korvadex-cli")
                         .arg(ResultsSchema::Version + 1)
                         .arg(ResultsSchema::Version));
    // Still refused: the refusal changed nothing.
    EXPECT_FALSE(Open(&error));
}

TEST_P(ResultsStoreTest, FirstPassYieldCountsEachBoardsFirstRunOfThePlanThatDay)
{
    const QString a = QStringLiteral("KVX-A"), b = QStringLiteral("KVX-B"), c = QStringLiteral("KVX-C");
    const std::vector<BoardRecord> records{
        // Day 1: A fails, then passes on a retest; B passes; C is marginal.
        NoiseRecord(a, QStringLiteral("r1"), Day1, Verdict::Fail),
        NoiseRecord(b, QStringLiteral("r2"), Day1 + 60000, Verdict::Pass),
        NoiseRecord(a, QStringLiteral("r3"), Day1 + 120000, Verdict::Pass),
        NoiseRecord(c, QStringLiteral("r4"), Day1 + 180000, Verdict::Marginal),
        // Day 2: A passes; B cannot be measured, then passes.
        NoiseRecord(a, QStringLiteral("r5"), Day2, Verdict::Pass),
        NoiseRecord(b, QStringLiteral("r6"), Day2 - 1000, Verdict::Error),
        NoiseRecord(b, QStringLiteral("r7"), Day2 + 120000, Verdict::Pass),
    };
    for (const BoardRecord& record : records)
        ASSERT_TRUE(store_->Store(record)) << store_->Error().toStdString();

    ResultsQuery query(*store_, {});
    const std::vector<DayYield> yield = FirstPassYield::Of(*query.Runs());
    ASSERT_EQ(yield.size(), 3u);  // two minutes after Day2 is the next day
    EXPECT_EQ(yield[0].Day, QDate(2026, 3, 2));
    EXPECT_EQ(yield[0].Boards, 3);
    EXPECT_EQ(yield[0].FirstPassed, 2);
    EXPECT_DOUBLE_EQ(yield[0].Yield(), 2.0 / 3.0);
    EXPECT_EQ(yield[1].Day, QDate(2026, 3, 3));
    EXPECT_EQ(yield[1].Boards, 2);
    EXPECT_EQ(yield[1].FirstPassed, 1);
    EXPECT_EQ(yield[2].Day, QDate(2026, 3, 4));
    EXPECT_EQ(yield[2].FirstPassed, 1);

    ResultsQuery since(*store_, {QString(), QString(), Day2 - 1000});
    EXPECT_EQ(FirstPassYield::Of(*since.Runs()).size(), 2u);
}

TEST_P(ResultsStoreTest, CpkIsTheNearerLimitsDistanceInThreeSigmas)
{
    const std::vector<double> first{4.0, 4.5, 5.5}, second{6.0, 5.0};
    ASSERT_TRUE(store_->Store(NoiseRecord(QStringLiteral("KVX-A"), QStringLiteral("r1"), Day1, Verdict::Pass, first)));
    ASSERT_TRUE(store_->Store(NoiseRecord(QStringLiteral("KVX-B"), QStringLiteral("r2"), Day1, Verdict::Pass, second)));
    // One-sided: only a high limit; values that are no number do not count.
    BoardRecord other = NoiseRecord(QStringLiteral("KVX-C"), QStringLiteral("r3"), Day1, Verdict::Fail, {2.0, 3.0, NAN});
    other.PlanName = QStringLiteral("hum");
    for (StepResult& step : other.Steps)
        step.Measurements.front().Limit.Low.reset();
    ASSERT_TRUE(store_->Store(other));
    // The other channel of a step is a population of its own.
    BoardRecord otherChannel = NoiseRecord(QStringLiteral("KVX-D"), QStringLiteral("r4"), Day1, Verdict::Pass, {100.0});
    otherChannel.Steps.front().Measurements.front().Channel = 1;
    ASSERT_TRUE(store_->Store(otherChannel));

    std::vector<double> all = first;
    all.insert(all.end(), second.begin(), second.end());
    const double mean = std::accumulate(all.begin(), all.end(), 0.0) / all.size();
    double squares = 0.0;
    for (double value : all)
        squares += (value - mean) * (value - mean);
    const double sigma = std::sqrt(squares / (all.size() - 1));

    ResultsQuery query(*store_, {});
    const std::vector<Capability> table = ProcessCapability::Of(*query.Samples());
    ASSERT_EQ(table.size(), 3u);
    EXPECT_EQ(table[0].Plan, QStringLiteral("hum"));
    EXPECT_EQ(table[0].Count, 2);
    EXPECT_DOUBLE_EQ(*table[0].Cpk, (9.0 - 2.5) / (3.0 * std::sqrt(0.5)));
    EXPECT_EQ(table[1].Plan, QStringLiteral("noise"));
    EXPECT_EQ(table[1].Step, QStringLiteral("noise"));
    EXPECT_EQ(table[1].Figure, QStringLiteral("rms_uV"));
    EXPECT_EQ(table[1].Count, 5);
    EXPECT_DOUBLE_EQ(table[1].Mean, mean);
    EXPECT_DOUBLE_EQ(*table[1].Sigma, sigma);
    EXPECT_DOUBLE_EQ(*table[1].Cpk, std::min(9.0 - mean, mean - 1.0) / (3.0 * sigma));
    EXPECT_EQ(table[2].Channel, 1);
    EXPECT_EQ(table[2].Count, 1);
}

INSTANTIATE_TEST_SUITE_P(Databases, ResultsStoreTest, ::testing::Values("SQLite", "PostgreSQL"),
                         [](const ::testing::TestParamInfo<const char*>& info) { return std::string(info.param); });

} // namespace
