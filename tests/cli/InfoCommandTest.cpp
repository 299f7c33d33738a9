// info and plot on data files, run as a process.

#include "CliProcess.h"
#include "DtaFiles.h"

#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include "QtPrinting.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

const QString FileError = QStringLiteral("データファイルの内容が正しくありませんでした");

MeasureSettings Settings(int spsSel, int countSel, int chSel, int fSinc5)
{
    MeasureSettings s;
    s.spsSel = spsSel;
    s.DataCountSel = countSel;
    s.CHSel = chSel;
    s.fSinc5 = static_cast<std::uint8_t>(fSinc5);
    return s;
}

QStringList Codes(std::int32_t first, std::int32_t last)
{
    QStringList lines;
    for (std::int32_t code = first; code <= last; ++code)
        lines << QString::number(code);
    return lines;
}

class InfoCommandTest : public ::testing::Test {
protected:
    DtaFiles files;
    // Deviation 11.18 codes (3.33 µV) about the mean 8388615.
    QString ch0 = files.Write(QStringLiteral("ch0.DTA"), Settings(5, 3, 0, 0),
                              {QStringLiteral("8388600"), QStringLiteral("8388610"), QStringLiteral("8388620"),
                               QStringLiteral("8388630")});
    // Three equal samples: no noise at all.
    QString ch1 = files.Write(QStringLiteral("ch1.DTA"), Settings(16, 9, 1, 1),
                              {QStringLiteral("8388608"), QStringLiteral("8388608"), QStringLiteral("8388608")});
    QString dual = files.Write(QStringLiteral("dual.DTA"), Settings(0, 0, 2, 0),
                               {QStringLiteral("8388618,8388708"), QStringLiteral("8388598,8388908")});
};

TEST_F(InfoCommandTest, PrintsSettingsAndTheWindowsStatisticsTextsForEveryChannelMode)
{
    const CliResult r = CliProcess::Run({QStringLiteral("info"), ch0, ch1, dual});
    ASSERT_TRUE(r.Finished);
    EXPECT_EQ(r.ExitCode, 0) << r.Err.toStdString();
    const QStringList expected = {
        ch0 + QStringLiteral(": 100sps, 1000, CH0 (Ain0-Ain1), Sinc3"),
        QStringLiteral("CH0 : 最大値：8388630 / 最小値：8388600 / pp値：30 digit / 標準偏差：11.2 digit"),
        QStringLiteral("CH0 : 最大値：6.56[uV] / 最小値：-2.38[uV] / pp値：8.94[uV] / 標準偏差：3.33[uV]"),
        ch1 + QStringLiteral(": 125ksps, 100000, CH1 (Ain2-Ain3), Sinc5+Sinc1"),
        QStringLiteral("CH1 : 最大値：8388608 / 最小値：8388608 / pp値：0 digit / 標準偏差：0.00 digit"),
        QStringLiteral("CH1 : 最大値：0.00[uV] / 最小値：0.00[uV] / pp値：0.00[uV] / 標準偏差：0.00[uV]"),
        dual + QStringLiteral(": 5sps, 100, CH0 + CH1, Sinc3"),
        QStringLiteral("CH0 : 最大値：8388618 / 最小値：8388598 / pp値：20 digit / 標準偏差：10.0 digit"),
        QStringLiteral("CH0 : 最大値：2.98[uV] / 最小値：-2.98[uV] / pp値：5.96[uV] / 標準偏差：2.98[uV]"),
        QStringLiteral("CH1 : 最大値：8388908 / 最小値：8388708 / pp値：200 digit / 標準偏差：100.0 digit"),
        QStringLiteral("CH1 : 最大値：89.4[uV] / 最小値：29.8[uV] / pp値：59.6[uV] / 標準偏差：29.8[uV]"),
    };
    EXPECT_EQ(r.OutLines(), expected);
    EXPECT_TRUE(r.Err.isEmpty()) << r.Err.toStdString();
}

TEST_F(InfoCommandTest, JsonCarriesStatisticsAndNoiseFigures)
{
    const CliResult r = CliProcess::Run({QStringLiteral("info"), QStringLiteral("--json"), ch0, ch1});
    ASSERT_EQ(r.ExitCode, 0) << r.Err.toStdString();
    const QStringList lines = r.OutLines();
    ASSERT_EQ(lines.size(), 2);

    const QJsonObject first = QJsonDocument::fromJson(lines[0].toUtf8()).object();
    EXPECT_EQ(first.value("file").toString(), ch0);
    EXPECT_EQ(first.value("settings").toObject().value("rate").toString(), QStringLiteral("100sps"));
    const QJsonArray channels = first.value("channels").toArray();
    ASSERT_EQ(channels.size(), 1);
    const QJsonObject c = channels[0].toObject();
    EXPECT_EQ(c.value("channel").toInt(), 0);
    EXPECT_EQ(c.value("count").toInt(), 4);
    const QJsonObject codes = c.value("codes").toObject();
    EXPECT_EQ(codes.value("max").toInt(), 8388630);
    EXPECT_EQ(codes.value("min").toInt(), 8388600);
    EXPECT_EQ(codes.value("pp").toInt(), 30);
    EXPECT_NEAR(codes.value("deviation").toDouble(), std::sqrt(125.0), 1e-5);
    const double step = 2500000.0 / 8388607.0;  // microvolts per code
    const QJsonObject microvolts = c.value("microvolts").toObject();
    EXPECT_NEAR(microvolts.value("max").toDouble(), 22 * step, 1e-5);
    EXPECT_NEAR(microvolts.value("min").toDouble(), -8 * step, 1e-5);
    const double rms = std::sqrt(125.0) * step;
    EXPECT_NEAR(c.value("rms_noise_uV").toDouble(), rms, 1e-5);
    EXPECT_NEAR(c.value("pp_noise_uV").toDouble(), 30 * step, 1e-5);
    EXPECT_NEAR(c.value("effective_resolution_bits").toDouble(), std::log2(5e6 / rms), 1e-5);
    EXPECT_NEAR(c.value("noise_free_resolution_bits").toDouble(), std::log2(5e6 / (30 * step)), 1e-5);

    const QJsonObject silent = QJsonDocument::fromJson(lines[1].toUtf8()).object().value("channels").toArray()[0].toObject();
    EXPECT_EQ(silent.value("channel").toInt(), 1);
    EXPECT_EQ(silent.value("rms_noise_uV").toDouble(), 0.0);
    EXPECT_TRUE(silent.value("effective_resolution_bits").isNull());
    EXPECT_TRUE(silent.value("noise_free_resolution_bits").isNull());
}

TEST_F(InfoCommandTest, RefusedFilesAreNamedAndTheOthersStillReported)
{
    const QString header = files.WriteText(QStringLiteral("header.DTA"), "AD7175_DataFile\r\nM:\r\n");
    const QString rate = files.Write(QStringLiteral("rate.DTA"), Settings(17, 0, 0, 0), {QStringLiteral("1")});
    const QString count = files.Write(QStringLiteral("count.DTA"), Settings(0, 10, 0, 0), {QStringLiteral("1")});
    // The file class reads no data block for CHSel 3 and calls that a success.
    const QString channel = files.Write(QStringLiteral("channel.DTA"), Settings(0, 0, 3, 0), {});
    const QString column = files.Write(QStringLiteral("column.DTA"), Settings(0, 0, 2, 0), {QStringLiteral("5")});
    const QString missing = files.Path(QStringLiteral("missing.DTA"));

    const CliResult r =
        CliProcess::Run({QStringLiteral("info"), header, ch0, rate, count, channel, column, missing, ch1});
    ASSERT_TRUE(r.Finished);
    EXPECT_EQ(r.ExitCode, 2);
    const QStringList errors = r.Err.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    EXPECT_EQ(errors, QStringList({header + QStringLiteral(": ") + FileError, rate + QStringLiteral(": ") + FileError,
                                   count + QStringLiteral(": ") + FileError, channel + QStringLiteral(": ") + FileError,
                                   column + QStringLiteral(": ") + FileError,
                                   missing + QStringLiteral(": ") + FileError}));
    const QStringList lines = r.OutLines();
    ASSERT_EQ(lines.size(), 6);
    EXPECT_TRUE(lines[0].startsWith(ch0));
    EXPECT_TRUE(lines[3].startsWith(ch1));
}

TEST_F(InfoCommandTest, AFileWithoutSamplesIsRefusedAsTheWindowRefusesIt)
{
    // Statistics of no samples would be wrong numbers; the window refuses such a file.
    const QString empty = files.Write(QStringLiteral("empty.DTA"), Settings(5, 3, 0, 0), {});
    const CliResult r = CliProcess::Run({QStringLiteral("info"), empty});
    EXPECT_EQ(r.ExitCode, 2);
    EXPECT_TRUE(r.Out.isEmpty());
    EXPECT_TRUE(r.Err.contains(FileError));
    EXPECT_TRUE(r.Err.contains(empty));
}

TEST(CommandLineUseTest, MistakesGiveTheUsageExitCode)
{
    for (const QStringList& words :
         {QStringList{}, QStringList{QStringLiteral("inform")}, QStringList{QStringLiteral("info")},
          QStringList{QStringLiteral("info"), QStringLiteral("--csv"), QStringLiteral("a.DTA")},
          QStringList{QStringLiteral("plot"), QStringLiteral("a.DTA")},
          QStringList{QStringLiteral("measure"), QStringLiteral("--rate"), QStringLiteral("7sps")},
          QStringList{QStringLiteral("sweep")}}) {
        const CliResult r = CliProcess::Run(words);
        EXPECT_EQ(r.ExitCode, 2) << words.join(QLatin1Char(' ')).toStdString();
        EXPECT_TRUE(r.Err.contains(QStringLiteral("usage:")));
        EXPECT_TRUE(r.Out.isEmpty());
    }
}

TEST(CommandLineUseTest, VersionAndHelpAnswerOnStandardOutput)
{
    // The man page is made from these two answers.
    const CliResult version = CliProcess::Run({QStringLiteral("--version")});
    EXPECT_EQ(version.ExitCode, 0);
    EXPECT_EQ(version.OutLines(), QStringList{QStringLiteral("korvadex-cli " KORVADEX_VERSION)});
    EXPECT_TRUE(version.Err.isEmpty());
    const CliResult help = CliProcess::Run({QStringLiteral("--help")});
    EXPECT_EQ(help.ExitCode, 0);
    EXPECT_TRUE(help.Out.startsWith(QStringLiteral("usage:")));
    EXPECT_TRUE(help.Out.contains(QStringLiteral("--version")));
}

#ifndef Q_OS_WIN
// A full disk under standard output, in the program itself and in its
// commands' module: not a word of it printed, and the command fails.
TEST_F(InfoCommandTest, OutputThatCannotBeWrittenFailsTheCommand)
{
    for (const QStringList& words : {QStringList{QStringLiteral("--version")}, QStringList{QStringLiteral("info"), ch0}}) {
        SCOPED_TRACE(words.join(QLatin1Char(' ')).toStdString());
        const CliResult r = CliProcess::RunPrepared(
            words, {}, [](QProcess& process) { process.setStandardOutputFile(QStringLiteral("/dev/full")); });
        EXPECT_EQ(r.ExitCode, 2);
        EXPECT_TRUE(r.Err.contains(QStringLiteral("korvadex-cli: standard output could not be written"))) << r.Err.toStdString();
    }
}
#endif

class PlotCommandTest : public ::testing::Test {
protected:
    DtaFiles files;
    // Codes 8388600 .. 8388700: span 200 codes, bottom 8388550.
    QString ramp = files.Write(QStringLiteral("ramp.DTA"), Settings(5, 0, 0, 0), Codes(8388600, 8388700));
};

TEST_F(PlotCommandTest, CodeLabelsFollowTheGraphsRange)
{
    const CliResult r = CliProcess::Run({QStringLiteral("plot"), ramp, QStringLiteral("--labels")});
    ASSERT_EQ(r.ExitCode, 0) << r.Err.toStdString();
    QStringList expected;
    for (int code = 8388750; code >= 8388550; code -= 20)
        expected << QString::number(code);
    expected << QStringLiteral("1") << QStringLiteral("101");
    EXPECT_EQ(r.OutLines(), expected);
}

TEST_F(PlotCommandTest, VoltLabelsCarryTheUnitAtBothEnds)
{
    // -2.38 µV .. 27.42 µV: span 50 µV, bottom -10 µV, whole microvolts.
    const CliResult r = CliProcess::Run({QStringLiteral("plot"), ramp, QStringLiteral("--labels"), QStringLiteral("--volt")});
    ASSERT_EQ(r.ExitCode, 0) << r.Err.toStdString();
    EXPECT_EQ(r.OutLines(), QStringList({"40uV", "35", "30", "25", "20", "15", "10", "5", "0", "-5", "-10uV", "1",
                                         "101"}));
}

TEST_F(PlotCommandTest, AFileWithoutSamplesIsRefused)
{
    const QString empty = files.Write(QStringLiteral("empty.DTA"), Settings(5, 0, 0, 0), {});
    const CliResult r = CliProcess::Run({QStringLiteral("plot"), empty, QStringLiteral("--labels")});
    EXPECT_EQ(r.ExitCode, 2);
    EXPECT_TRUE(r.Out.isEmpty());
    EXPECT_TRUE(r.Err.contains(FileError));
}

TEST_F(PlotCommandTest, PictureShowsGridTraceAndCaptions)
{
    const QString png = files.Path(QStringLiteral("ramp.png"));
    const CliResult r = CliProcess::Run({QStringLiteral("plot"), ramp, QStringLiteral("-o"), png});
    ASSERT_EQ(r.ExitCode, 0) << r.Err.toStdString();
    EXPECT_TRUE(r.Out.isEmpty());
    const QImage image(png);
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), QSize(616, 433));
    // The bitmap sits one pixel inside the paint box at (72, 24).
    const QPoint bitmap(73, 25);
    EXPECT_EQ(image.pixel(bitmap + QPoint(525, 300)), qRgb(128, 128, 128)); // right grid line
    EXPECT_EQ(image.pixel(bitmap + QPoint(30, 20)), qRgb(255, 255, 255));   // background
    EXPECT_NE(image.pixel(72, 24), qRgb(255, 255, 255));                    // the ring shows the window
    // The ramp runs from the bottom left to the top right of its range: the
    // first sample (8388600) lies 50 codes above the bottom of a 200-code span.
    const int firstRow = static_cast<int>(370 * (1.0 - 50.0 / 200.0));
    EXPECT_EQ(image.pixel(bitmap + QPoint(1, firstRow)), qRgb(255, 0, 0));
    // The top caption is drawn dark where the first Y label stands.
    bool captionInk = false;
    for (int x = 22; x < 72 && !captionInk; ++x) {
        for (int y = 19; y < 32 && !captionInk; ++y)
            captionInk = qGray(image.pixel(x, y)) < 100;
    }
    EXPECT_TRUE(captionInk);
}

TEST_F(PlotCommandTest, UnwritablePictureIsAFileError)
{
    const CliResult r = CliProcess::Run(
        {QStringLiteral("plot"), ramp, QStringLiteral("-o"), files.Path(QStringLiteral("no/such/dir/x.png"))});
    EXPECT_EQ(r.ExitCode, 2);
    EXPECT_TRUE(r.Err.contains(QStringLiteral("cannot write")));
}

} // namespace

namespace {

// An operator who reads English gets the messages in English; the lines a
// script reads stay byte for byte what they are in Japanese.
TEST_F(InfoCommandTest, EnglishChangesTheMessagesAndNeverTheDataLines)
{
    const QString header = files.WriteText(QStringLiteral("header.DTA"), "AD7175_DataFile\r\nM:\r\n");
    const QStringList arguments{QStringLiteral("info"), ch0, dual, header};
    const CliResult japanese = CliProcess::Run(arguments, {{QStringLiteral("KORVADEX_LANG"), QStringLiteral("ja")}});
    const CliResult english = CliProcess::Run(arguments, {{QStringLiteral("KORVADEX_LANG"), QStringLiteral("en")}});
    ASSERT_TRUE(japanese.Finished && english.Finished);
    EXPECT_EQ(english.ExitCode, japanese.ExitCode);
    EXPECT_EQ(english.Out, japanese.Out);
    EXPECT_TRUE(english.Out.contains(QStringLiteral("標準偏差")));
    EXPECT_EQ(japanese.Err.trimmed(), header + QStringLiteral(": ") + FileError);
    EXPECT_EQ(english.Err.trimmed(), header + QStringLiteral(": The data file is not valid"));
}

} // namespace
