// A plan as its file says it, limits from CSV, and every plan or table that
// is wrong refused with where and what.

#include "LimitTable.h"
#include "MeasureItems.h"
#include "PlanReader.h"

#include <QCryptographicHash>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>

namespace {

const char* const GoodPlan = R"([plan]
name = "front-end noise"
version = 3

[[step]]
name = "noise 1 kSPS"
rate = "1ksps"
count = 10000
channel = 0
filter = "sinc5"

[step.limits]
rms_uV = { high = 1.2, marginal_high = 1.0 }
mean_uV = { low = -50, high = 50 }
density_uV_rtHz = { band = [10, 100], high = 0.05 }

[[step]]
name = "pairs"
rate = "49.96sps/50sps"
count = 100
channel = 2
filter = "sinc3"
repeat = 3
)";

class PlanFiles : public ::testing::Test {
protected:
    QString Write(const QString& name, const QByteArray& text)
    {
        const QString path = folder.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
        return path;
    }

    QTemporaryDir folder;
};

TEST_F(PlanFiles, AGoodPlanReadsAsWritten)
{
    const QString path = Write(QStringLiteral("good.toml"), GoodPlan);
    PlanReader reader;
    const std::optional<TestPlan> plan = reader.Read(path);
    ASSERT_TRUE(plan) << reader.Error().toStdString();
    EXPECT_EQ(plan->Name, "front-end noise");
    EXPECT_EQ(plan->Version, "3");
    EXPECT_EQ(plan->Hash, QCryptographicHash::hash(GoodPlan, QCryptographicHash::Sha256).toHex());
    ASSERT_EQ(plan->Steps.size(), 2u);

    const PlanStep& noise = plan->Steps[0];
    EXPECT_EQ(MeasureItems::Describe(noise.Settings), MeasureItems::Describe({*MeasureItems::ParseRate(QStringLiteral("1ksps")),
                                                                              *MeasureItems::ParseCount(QStringLiteral("10000")),
                                                                              0, 0, 1, 1, 0}));
    EXPECT_EQ(noise.Repeat, 1);
    ASSERT_EQ(noise.Limits.size(), 3u);
    std::map<PlanFigure, FigureLimit> limits;
    for (const FigureLimit& limit : noise.Limits)
        limits[limit.Figure] = limit;
    const FigureLimit& rms = limits[PlanFigure::Rms];
    EXPECT_FALSE(rms.Low);
    EXPECT_EQ(rms.High, 1.2);
    EXPECT_EQ(rms.MarginalHigh, 1.0);
    EXPECT_EQ(limits[PlanFigure::Mean].Low, -50.0);  // a whole number is a number too
    EXPECT_EQ(limits[PlanFigure::Density].Band, std::make_pair(10.0, 100.0));

    const PlanStep& pairs = plan->Steps[1];
    EXPECT_EQ(pairs.Settings.CHSel, ModeDual);
    EXPECT_EQ(pairs.Settings.fSinc5, 0);
    EXPECT_EQ(pairs.Repeat, 3);
    EXPECT_TRUE(pairs.Limits.empty());
}

struct BadPlan {
    const char* Text;
    const char* Where;  // "LINE:COLUMN:"
    const char* What;
};

class BadPlans : public PlanFiles, public ::testing::WithParamInterface<BadPlan> {};

TEST_P(BadPlans, AreRefusedWithWhereAndWhat)
{
    const BadPlan& bad = GetParam();
    const QString path = Write(QStringLiteral("bad.toml"), bad.Text);
    PlanReader reader;
    EXPECT_FALSE(reader.Read(path));
    const QString expected = path + QLatin1Char(':') + QLatin1String(bad.Where);
    EXPECT_TRUE(reader.Error().startsWith(expected)) << reader.Error().toStdString();
    EXPECT_TRUE(reader.Error().contains(QLatin1String(bad.What))) << reader.Error().toStdString();
}


#define STEP(extra) "[plan]\nname = \"p\"\n[[step]]\nname = \"s\"\nrate = \"1ksps\"\ncount = 1000\nchannel = 0\nfilter = \"sinc5\"\n" extra

INSTANTIATE_TEST_SUITE_P(
    Plan, BadPlans,
    ::testing::Values(
        BadPlan{STEP("[step.limits]\nrms_uv = { high = 1 }\n"), "10:10:", "unknown figure \"rms_uv\"; the figures are rms_uV"},
        BadPlan{"[plan]\nname = \"p\"\n[[step]]\nname = \"s\"\nrate = \"3ksps\"\ncount = 1000\nchannel = 0\nfilter = \"sinc5\"\n",
                "5:8:", "unknown rate \"3ksps\""},
        BadPlan{"[plan]\nname = \"p\"\n[[step]]\nname = \"s\"\nrate = \"5\"\ncount = 1000\nchannel = 0\nfilter = \"sinc5\"\n",
                "5:8:", "unknown rate \"5\""},
        BadPlan{"[plan]\nname = \"p\"\n[[step]]\nname = \"s\"\nrate = \"1ksps\"\ncount = 3\nchannel = 0\nfilter = \"sinc5\"\n",
                "6:9:", "count 3 is not an item"},
        BadPlan{STEP("[step.limits]\npp_uV = { low = 9, high = 8 }\n"), "10:9:", "low 9 is above high 8"},
        BadPlan{STEP("[step.limits]\npp_uV = { high = 8, marginal_high = 9 }\n"), "10:9:", "marginal_high 9 lies outside"},
        BadPlan{STEP("[step.limits]\npp_uV = { high = 8, band = [1, 2] }\n"), "10:9:", "only density_uV_rtHz takes a band"},
        BadPlan{STEP("[step.limits]\ndensity_uV_rtHz = { band = [10, 600], high = 1 }\n"), "10:19:",
                "the band ends above 500 Hz"},
        BadPlan{"[plan]\nname = \"p\"\n[[step]]\nrate = \"1ksps\"\ncount = 1000\nchannel = 0\nfilter = \"sinc5\"\n", "3:1:",
                "a step has no name"},
        BadPlan{STEP("[[step]]\nname = \"s\"\nrate = \"1ksps\"\ncount = 100\nchannel = 1\nfilter = \"sinc3\"\n"), "9:1:",
                "a second step named \"s\""},
        BadPlan{STEP("repeet = 2\n"), "9:10:", "unknown key \"repeet\" in a step"},
        BadPlan{STEP("channel = 1\n"), "9:11:", "cannot redefine existing integer 'channel'"},
        BadPlan{"[plan]\nversion = \"1\"\n", "1:1:", "[plan] has no name"}));

TEST_F(PlanFiles, ACsvTableReplacesTheLimitsWithEitherDecimalPoint)
{
    const QString planPath = Write(QStringLiteral("plan.toml"), GoodPlan);
    struct Table {
        QChar Point;
        QByteArray Text;
    };
    for (const Table& table :
         {Table{QLatin1Char('.'), "step,figure,low,high,marginal_low,marginal_high\n"
                                  "noise 1 kSPS,rms_uV,,1.5,,1.25\n\"pairs\",pp_uV,-0.5,8,,\n"},
          Table{QLatin1Char(','), "\xEF\xBB\xBFstep;figure;low;high;marginal_low;marginal_high\r\n"
                                  "noise 1 kSPS;rms_uV;;1,5;;1,25\r\npairs;pp_uV;-0,5;8;;\r\n"}}) {
        SCOPED_TRACE(table.Point.toLatin1());
        std::optional<TestPlan> plan = PlanReader().Read(planPath);
        ASSERT_TRUE(plan);
        LimitTable limits(table.Point);
        ASSERT_TRUE(limits.ApplyTo(Write(QStringLiteral("limits.csv"), table.Text), *plan)) << limits.Error().toStdString();
        ASSERT_EQ(plan->Steps[0].Limits.size(), 1u);
        EXPECT_EQ(plan->Steps[0].Limits[0].High, 1.5);
        EXPECT_EQ(plan->Steps[0].Limits[0].MarginalHigh, 1.25);
        ASSERT_EQ(plan->Steps[1].Limits.size(), 1u);
        EXPECT_EQ(plan->Steps[1].Limits[0].Figure, PlanFigure::PeakToPeak);
        EXPECT_EQ(plan->Steps[1].Limits[0].Low, -0.5);
    }
}

TEST_F(PlanFiles, ABadCsvTableIsRefusedWithWhereAndWhat)
{
    const QString planPath = Write(QStringLiteral("plan.toml"), GoodPlan);
    const QByteArray header = "step,figure,low,high,marginal_low,marginal_high\n";
    struct Case {
        QByteArray Text;
        const char* Error;
    };
    for (const Case& c : {Case{"step,figure,low,high\n", ":1:1: the first line must be"},
                          Case{header + "nosuch,rms_uV,,1,,\n", ":2:1: no step named \"nosuch\""},
                          Case{header + "pairs,rms_uV,,1.2.3,,\n", ":2:15: high \"1.2.3\" is not a number"},
                          Case{header + "pairs,rms_uV,2,1,,\n", ":2:1: low 2 is above high 1"},
                          Case{header + "pairs,volts,,1,,\n", ":2:7: unknown figure \"volts\""},
                          Case{header + "pairs,rms_uV,,1\n", ":2:1: 4 fields where the header has 6"}}) {
        std::optional<TestPlan> plan = PlanReader().Read(planPath);
        ASSERT_TRUE(plan);
        LimitTable limits;
        EXPECT_FALSE(limits.ApplyTo(Write(QStringLiteral("limits.csv"), c.Text), *plan));
        EXPECT_TRUE(limits.Error().contains(QLatin1String(c.Error))) << limits.Error().toStdString();
    }
}

TEST(FigureLimitTest, JudgesAtAndAroundEachEdge)
{
    FigureLimit limit{PlanFigure::Mean, -10.0, 10.0, -5.0, 5.0, std::nullopt};
    struct Case {
        double Value;
        Verdict Expected;
    };
    for (const Case& c : {Case{-10.5, Verdict::Fail}, Case{-10.0, Verdict::Marginal}, Case{-5.0, Verdict::Pass},
                          Case{0.0, Verdict::Pass}, Case{5.0, Verdict::Pass}, Case{5.5, Verdict::Marginal},
                          Case{10.0, Verdict::Marginal}, Case{10.01, Verdict::Fail}, Case{std::nan(""), Verdict::Fail},
                          Case{-HUGE_VAL, Verdict::Fail}}) {
        EXPECT_EQ(limit.Judge(c.Value), c.Expected) << c.Value;
    }
    const FigureLimit highOnly{PlanFigure::Spur, std::nullopt, -100.0, std::nullopt, std::nullopt, std::nullopt};
    EXPECT_EQ(highOnly.Judge(-HUGE_VAL), Verdict::Pass);  // no spur stands out
    EXPECT_EQ(Worst(Verdict::Marginal, Verdict::Error), Verdict::Error);
    EXPECT_EQ(Worst(Verdict::Fail, Verdict::Marginal), Verdict::Fail);
}

} // namespace
