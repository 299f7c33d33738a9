// A test record's JSON read back, as results push reads it.

#include "TestRecordJson.h"
#include "TestRecords.h"

#include "QtPrinting.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(RecordJson, ARecordReadsBackAsWritten)
{
    BoardRecord record = NoiseRecord(QStringLiteral("KVX-1"), QStringLiteral("run-1"), 1772438400123, Verdict::Error,
                                     {2.5, INFINITY, -INFINITY, NAN});
    record.Error = QStringLiteral("the board was lost");
    record.Steps.back().Error = QStringLiteral("no answer");
    Measurement density;
    density.Figure = PlanFigure::Density;
    density.Channel = 1;
    density.Value = 0.125;
    density.Limit = {PlanFigure::Density, std::nullopt, 0.5, std::nullopt, 0.25, std::make_pair(10.0, 100.0)};
    density.Outcome = Verdict::Marginal;
    record.Steps.front().Measurements.push_back(density);

    QString error;
    const std::optional<BoardRecord> read = TestRecordJson::Read(TestRecordJson::Write(record), error);
    ASSERT_TRUE(read) << error.toStdString();
    EXPECT_EQ(TestRecordJson::Write(*read), TestRecordJson::Write(record));
    EXPECT_EQ(read->StartMs, record.StartMs);
    EXPECT_EQ(read->Steps.front().Measurements.back().Limit.Band, density.Limit.Band);
    EXPECT_TRUE(std::isnan(read->Steps.back().Measurements.front().Value));
}

struct Refusal {
    const char* Name;
    const char* From;
    const char* To;
    const char* Why;
};

void PrintTo(const Refusal& refusal, std::ostream* out)
{
    *out << refusal.Name;
}

class RecordJsonRefusal : public ::testing::TestWithParam<Refusal> {};

TEST_P(RecordJsonRefusal, SaysWhatIsWrong)
{
    const QByteArray json = TestRecordJson::Write(NoiseRecord(QStringLiteral("KVX-1"), QStringLiteral("run-1"), 0, Verdict::Pass))
                                .replace(GetParam().From, GetParam().To);
    QString error;
    EXPECT_FALSE(TestRecordJson::Read(json, error));
    EXPECT_EQ(error, QString::fromUtf8(GetParam().Why));
}

INSTANTIATE_TEST_SUITE_P(
    Faults, RecordJsonRefusal,
    ::testing::Values(Refusal{"UnknownVerdict", "\"outcome\": \"PASS\"", "\"outcome\": \"GOOD\"",
                              "the outcome \"GOOD\" of the record is not PASS, MARGINAL, FAIL or ERROR"},
                      Refusal{"UnknownFigure", "\"figure\": \"rms_uV\"", "\"figure\": \"rms\"",
                              "the measurement ch0.rms_uV of phase 1 names no figure known: rms"},
                      Refusal{"NoRunId", "\"run_id\": \"run-1\"", "\"run_id\": \"\"", "the record has no run id"},
                      Refusal{"FractionOfAMillisecond", "\"start_time_millis\": 0,", "\"start_time_millis\": 0.5,",
                              "\"start_time_millis\" of the record is not a whole number from 0"}),
    [](const ::testing::TestParamInfo<Refusal>& info) { return std::string(info.param.Name); });

} // namespace
