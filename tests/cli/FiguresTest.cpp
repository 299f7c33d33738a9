#include "ChannelReport.h"
#include "JsonReport.h"
#include "NoiseFigures.h"
#include "ProgressBar.h"
#include "SweepTable.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "QtPrinting.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(NoiseFiguresTest, ResolutionsAreBitsOfTheFiveVoltSpan)
{
    const NoiseFigures f = NoiseFigures::From(5.0, 5000000.0 / 1024.0);
    ASSERT_TRUE(f.EffectiveBits);
    ASSERT_TRUE(f.NoiseFreeBits);
    EXPECT_DOUBLE_EQ(*f.EffectiveBits, std::log2(1000000.0));
    EXPECT_DOUBLE_EQ(*f.NoiseFreeBits, 10.0);
}

TEST(NoiseFiguresTest, NoNoiseHasNoResolution)
{
    const NoiseFigures f = NoiseFigures::From(0.0, 0.0);
    EXPECT_FALSE(f.EffectiveBits);
    EXPECT_FALSE(f.NoiseFreeBits);
}

TEST(ProgressBarTest, LineShowsBarCountAndSeconds)
{
    EXPECT_EQ(ProgressBar::Line(QString(), 500, 1000, 1.24),
              QStringLiteral("[###############---------------] 500/1000 1.2 s"));
    EXPECT_EQ(ProgressBar::Line(QStringLiteral("Sinc3 5sps"), 100, 100, 20.0),
              QStringLiteral("Sinc3 5sps [##############################] 100/100 20.0 s"));
    EXPECT_EQ(ProgressBar::Line(QString(), 0, 0, 0.0), QStringLiteral("[------------------------------] 0/0 0.0 s"));
}

ChannelReport SampleReport()
{
    ChannelReport r;
    r.Channel = 1;
    r.Count = 100;
    r.MaxCode = 8388620;
    r.MinCode = 8388590;
    r.PeakToPeakCode = 30;
    r.DevCode = 0.1f;
    r.MaxMicrovolts = 12.345f;
    r.MinMicrovolts = -3.2f;
    r.PeakToPeakMicrovolts = static_cast<double>(12.345f) - -3.2f;
    r.DevMicrovolts = 2.5f;
    r.Noise = NoiseFigures::From(0.0, r.PeakToPeakMicrovolts);
    return r;
}

TEST(SweepTableTest, CsvRowsCarryEveryFigure)
{
    const SweepTable table(true);
    EXPECT_EQ(table.Header().split(QLatin1Char(',')).size(), 8);
    ChannelReport r = SampleReport();
    r.Noise = NoiseFigures::From(2.5, 20.0);
    EXPECT_EQ(table.Row({1, 3, 0}, r), QStringLiteral("Sinc5+Sinc1,49.96sps/50sps,100,CH1,2.500,20.000,20.93,17.93"));
}

TEST(SweepTableTest, TextRowsAreAlignedUnderTheHeader)
{
    const SweepTable table(false);
    const QString header = table.Header();
    const QString row = table.Row({0, 16, 0}, SampleReport());
    EXPECT_TRUE(row.startsWith(QStringLiteral("Sinc3 ")));
    // No RMS noise: the effective resolution has no value.
    EXPECT_TRUE(row.endsWith(QStringLiteral(" inf             18.30"))) << row.toStdString();
    // Right-aligned columns end where their heading ends.
    EXPECT_EQ(row.indexOf(QStringLiteral("100 ")) + 3, header.indexOf(QStringLiteral("samples")) + 7);
    EXPECT_EQ(row.size(), header.size());
}

TEST(JsonReportTest, FloatsKeepTheirShortestDigitsAndMissingResolutionsAreNull)
{
    MeasureSettings settings;
    settings.CHSel = 1;
    const QByteArray line = JsonReport::Line(QStringLiteral("a.DTA"), QString(), settings, {SampleReport()});
    EXPECT_FALSE(line.contains('\n')) << line.toStdString();
    const QJsonObject run = QJsonDocument::fromJson(line).object();
    EXPECT_EQ(run.value("file").toString(), QStringLiteral("a.DTA"));
    EXPECT_FALSE(run.contains("board"));
    EXPECT_EQ(run.value("settings").toObject().value("channel").toString(), QStringLiteral("CH1 (Ain2-Ain3)"));
    const QJsonObject channel = run.value("channels").toArray().at(0).toObject();
    EXPECT_EQ(channel.value("channel").toInt(), 1);
    EXPECT_EQ(channel.value("codes").toObject().value("pp").toInt(), 30);
    EXPECT_TRUE(line.contains("\"deviation\":0.1,"));
    EXPECT_TRUE(line.contains("\"max\":12.345,"));
    EXPECT_TRUE(line.contains("\"pp\":15.545}"));
    EXPECT_TRUE(channel.value("effective_resolution_bits").isNull());
    EXPECT_NEAR(channel.value("noise_free_resolution_bits").toDouble(), std::log2(5000000.0 / 15.545), 1e-6);
}

} // namespace
