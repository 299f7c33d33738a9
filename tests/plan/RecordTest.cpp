// A board's record as the tools that read OpenHTF records and JUnit XML
// expect it.

#include "JunitReport.h"
#include "TestRecordJson.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <cmath>
#include <map>

namespace {

// Two steps on one board: one with a pass, a marginal, a failing figure and
// a spur that does not stand out (-inf); one whose run was lost.
BoardRecord SampleRecord()
{
    const FigureLimit rms{PlanFigure::Rms, std::nullopt, 1.2, std::nullopt, 1.0, std::nullopt};
    const FigureLimit mean{PlanFigure::Mean, -50.0, 50.0, std::nullopt, std::nullopt, std::nullopt};
    const FigureLimit spur{PlanFigure::Spur, std::nullopt, -100.0, std::nullopt, std::nullopt, std::nullopt};
    StepResult noise{QStringLiteral("noise"), 1, QStringLiteral("1ksps"), QStringLiteral("raw/a.DTA"), 1000, 3000,
                     {{PlanFigure::Rms, 0, 0.8, rms, Verdict::Pass},
                      {PlanFigure::Rms, 1, 1.1, rms, Verdict::Marginal},
                      {PlanFigure::Mean, 0, 1000.0, mean, Verdict::Fail},
                      {PlanFigure::Spur, 0, -HUGE_VAL, spur, Verdict::Pass}},
                     Verdict::Fail, QString()};
    StepResult lost{QStringLiteral("long"), 2, QStringLiteral("10ksps"), QString(), 3000, 3500, {}, Verdict::Error,
                    QStringLiteral("cable pulled")};
    BoardRecord record;
    record.RunId = QStringLiteral("run-1");
    record.Serial = QStringLiteral("KVX0007");
    record.Station = QStringLiteral("bench 3");
    record.PlanName = QStringLiteral("front end");
    record.StartMs = 500;
    record.EndMs = 4000;
    record.Steps = {noise, lost};
    record.Error = lost.Error;
    record.Conclude();
    return record;
}

TEST(TestRecordJsonTest, IsShapedLikeAnOpenHtfRecord)
{
    const BoardRecord record = SampleRecord();
    EXPECT_EQ(record.Outcome, Verdict::Error);
    const QJsonObject json = QJsonDocument::fromJson(TestRecordJson::Write(record)).object();
    EXPECT_EQ(json[QStringLiteral("dut_id")].toString(), "KVX0007");
    EXPECT_EQ(json[QStringLiteral("station_id")].toString(), "bench 3");
    EXPECT_EQ(json[QStringLiteral("start_time_millis")].toInteger(), 500);
    EXPECT_EQ(json[QStringLiteral("outcome")].toString(), "ERROR");
    EXPECT_EQ(json[QStringLiteral("metadata")][QStringLiteral("test_name")].toString(), "front end");
    const QJsonArray phases = json[QStringLiteral("phases")].toArray();
    ASSERT_EQ(phases.size(), 2);
    EXPECT_EQ(phases[0][QStringLiteral("outcome")].toString(), "FAIL");
    EXPECT_EQ(phases[0][QStringLiteral("raw_file")].toString(), "raw/a.DTA");
    const QJsonObject measurements = phases[0][QStringLiteral("measurements")].toObject();
    ASSERT_EQ(measurements.size(), 4);
    const QJsonObject marginal = measurements[QStringLiteral("ch1.rms_uV")].toObject();
    EXPECT_EQ(marginal[QStringLiteral("measured_value")].toDouble(), 1.1);
    EXPECT_EQ(marginal[QStringLiteral("outcome")].toString(), "MARGINAL");
    EXPECT_EQ(marginal[QStringLiteral("units")][QStringLiteral("suffix")].toString(), "uV");
    EXPECT_EQ(marginal[QStringLiteral("validators")][0].toString(), "x <= 1.2");
    EXPECT_EQ(marginal[QStringLiteral("limits")][QStringLiteral("marginal_high")].toDouble(), 1.0);
    EXPECT_EQ(measurements[QStringLiteral("ch0.mean_uV")][QStringLiteral("validators")][0].toString(), "-50 <= x <= 50");
    const QJsonObject spur = measurements[QStringLiteral("ch0.spur_dBFS")].toObject();
    EXPECT_TRUE(spur[QStringLiteral("measured_value")].isNull());
    EXPECT_EQ(spur[QStringLiteral("measured_text")].toString(), "-inf");
    EXPECT_EQ(phases[1][QStringLiteral("error")].toString(), "cable pulled");
    EXPECT_EQ(phases[1][QStringLiteral("repeat")].toInt(), 2);
}

TEST(TestRecordJsonTest, ReadsBackAsWritten)
{
    BoardRecord record = SampleRecord();
    record.Steps.front().Measurements.push_back(
        {PlanFigure::Density, 1, NAN, {PlanFigure::Density, std::nullopt, 0.5, std::nullopt, 0.25, std::make_pair(10.0, 100.0)},
         Verdict::Fail});
    QString error;
    const std::optional<BoardRecord> read = TestRecordJson::Read(TestRecordJson::Write(record), error);
    ASSERT_TRUE(read) << error.toStdString();
    EXPECT_EQ(TestRecordJson::Write(*read), TestRecordJson::Write(record));
    EXPECT_EQ(read->Error, QStringLiteral("cable pulled"));
    // A step's measurements come back in the order of their names.
    const Measurement& density = read->Steps.front().Measurements[3];
    EXPECT_EQ(density.Name().toStdString(), "ch1.density_uV_rtHz");
    EXPECT_EQ(density.Limit.Band, std::make_pair(10.0, 100.0));
    EXPECT_TRUE(std::isnan(density.Value));
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
    const QByteArray json = TestRecordJson::Write(SampleRecord()).replace(GetParam().From, GetParam().To);
    QString error;
    EXPECT_FALSE(TestRecordJson::Read(json, error));
    EXPECT_EQ(error.toStdString(), GetParam().Why);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, RecordJsonRefusal,
    ::testing::Values(Refusal{"UnknownVerdict", "\"outcome\": \"ERROR\"", "\"outcome\": \"GOOD\"",
                              "the outcome \"GOOD\" of the record is not PASS, MARGINAL, FAIL or ERROR"},
                      Refusal{"UnknownFigure", "\"figure\": \"rms_uV\"", "\"figure\": \"rms\"",
                              "the measurement ch0.rms_uV of phase 1 names no figure known: rms"},
                      Refusal{"NoRunId", "\"run_id\": \"run-1\"", "\"run_id\": \"\"", "the record has no run id"},
                      Refusal{"FractionOfAMillisecond", "\"start_time_millis\": 500,", "\"start_time_millis\": 500.5,",
                              "\"start_time_millis\" of the record is not a whole number from 0"}),
    [](const ::testing::TestParamInfo<Refusal>& info) { return std::string(info.param.Name); });

TEST(JunitReportTest, CountsEachFigureAsATestcase)
{
    BoardRecord unreachable;
    unreachable.Serial = QStringLiteral("KVX0009");
    unreachable.Error = QStringLiteral("the board could not be reached");
    unreachable.Conclude();
    QXmlStreamReader xml(JunitReport::Write({SampleRecord(), unreachable}));
    std::map<QString, std::map<QString, int>> suites;  // serial -> attribute or element -> count
    QString suite;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("testsuite")) {
            suite = xml.attributes().value(QLatin1String("name")).toString();
            for (const char* key : {"tests", "failures", "errors"})
                suites[suite][QLatin1String(key)] = xml.attributes().value(QLatin1String(key)).toInt();
        } else {
            ++suites[suite][xml.name().toString()];
        }
    }
    ASSERT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    const std::map<QString, int> expected7{{"tests", 5}, {"failures", 1}, {"errors", 1}, {"testcase", 5},
                                          {"failure", 1}, {"error", 1}, {"system-out", 3}};
    EXPECT_EQ(suites[QStringLiteral("KVX0007")], expected7);
    const std::map<QString, int> expected9{{"tests", 1}, {"failures", 0}, {"errors", 1}, {"testcase", 1}, {"error", 1}};
    EXPECT_EQ(suites[QStringLiteral("KVX0009")], expected9);
}

} // namespace
