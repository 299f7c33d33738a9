// The log window on logs made for the test: a one-sample spike seen at every
// zoom from the whole log down to single samples, the readout, the event
// marks and the time axis, and the menu item that opens it or refuses a file.

#include "FormMainProbe.h"
#include "LogFiles.h"
#include "AnalysisWindow.h"
#include "LogAnalysis.h"
#include "LogPlot.h"
#include "LogSource.h"
#include "SummarizedLog.h"
#include "LogTimeline.h"
#include "LogWindow.h"
#include "WindowRig.h"
#include "Myfile.h"

#include "CodeScale.h"
#include "MeasureItems.h"

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QTest>
#include <QLabel>
#include <QDateTime>
#include <QImage>
#include <QProcess>
#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

#include <cmath>
#include <set>

namespace {

constexpr std::int64_t RunSamples = 150000;
constexpr std::int64_t Spike = RunSamples + 23457;  // in the second run
constexpr std::int32_t Quiet = CodeScale::MidScale;
constexpr std::int32_t SpikeCode = Quiet + 5000;
constexpr std::uint32_t Red = 0xFFFF0000u;

MeasureSettings Ch0At10k()
{
    MeasureSettings settings;
    settings.spsSel = *MeasureItems::ParseRate(QStringLiteral("10ksps"));
    settings.CHSel = ModeCh0;
    settings.fSinc5 = 1;
    return settings;
}

// Two runs of a quiet channel wobbling by a code, one sample of the second
// run 5000 codes above the rest.
std::vector<TestRun> SpikedRuns(std::int64_t runSamples = RunSamples)
{
    std::vector<TestRun> runs{{"2026-12-08T21:40:12.345Z", {}}, {"2026-12-08T21:40:27.400Z", {}}};
    for (TestRun& run : runs) {
        for (std::int64_t i = 0; i < runSamples; ++i)
            run.Codes.push_back(Quiet + static_cast<std::int32_t>(i % 2));
    }
    runs[1].Codes[static_cast<std::size_t>(Spike - RunSamples)] = SpikeCode;  // as far into run 2 at any length
    return runs;
}

// The topmost row of the plot with a red pixel and its first column, and
// the columns holding one in the top tenth of the plot.
struct RedSeen {
    int Top = -1;
    int TopColumn = -1;
    std::vector<int> HighColumns;
};

RedSeen Red_(const Bitmap& picture)
{
    RedSeen seen;
    for (int y = 0; y < picture.Height() && seen.Top < 0; ++y) {
        for (int x = 0; x < picture.Width(); ++x) {
            if (picture.Pixel(x, y) == Red) {
                seen.Top = y;
                seen.TopColumn = x;
                break;
            }
        }
    }
    for (int x = 0; x < picture.Width(); ++x) {
        for (int y = 0; y < picture.Height() / 10; ++y) {
            if (picture.Pixel(x, y) == Red) {
                seen.HighColumns.push_back(x);
                break;
            }
        }
    }
    return seen;
}

class LogWindowTest : public ::testing::TestWithParam<bool> {
protected:
    QString Log()
    {
        return GetParam() ? files.Hdf5(QStringLiteral("spike.h5"), Ch0At10k(), SpikedRuns())
                          : files.Text(QStringLiteral("spike.csv"), Ch0At10k(), SpikedRuns());
    }

    LogFiles files;
};

// Zooms from the whole log of two runs to single samples around the spike:
// at every step it is the highest thing drawn, where its sample is. Gives
// the summary levels the pictures came from.
std::set<int> ExpectSpikeAtEveryZoom(const QString& path, std::int64_t runSamples)
{
    const std::int64_t spike = runSamples + (Spike - RunSamples);
    std::set<int> levels;
    LogWindow window;
    window.resize(900, 480);
    QString error;
    EXPECT_TRUE(window.Open(path, error)) << error.toStdString();
    window.show();
    LogPlot& plot = *window.Plot();
    EXPECT_EQ(plot.View().Last(), 2 * runSamples - 1);  // the whole log first

    std::int64_t span = 2 * runSamples;
    for (int step = 0; span >= 8; ++step, span /= 7) {
        SCOPED_TRACE(span);
        if (step > 0)
            plot.ShowSamples(spike - span / 3, spike - span / 3 + span - 1);
        EXPECT_LE(plot.View().First(), spike);
        EXPECT_GE(plot.View().Last(), spike);
        const RedSeen seen = Red_(plot.Picture());
        // The spike is the highest thing drawn, and it is drawn where its sample is.
        EXPECT_EQ(plot.Envelope().Range().second, static_cast<float>(SpikeCode));
        EXPECT_LT(seen.Top, plot.Picture().Height() / 10);
        EXPECT_LE(std::abs(seen.TopColumn - plot.ColumnOf(spike)), 1);
        // Columns of extremes: nothing else reaches that high. (Samples
        // joined by lines climb to the spike over the columns between.)
        if (!plot.Envelope().Raw()) {
            EXPECT_FALSE(seen.HighColumns.empty());
            EXPECT_LE(seen.HighColumns.back() - seen.HighColumns.front(), 2);
        }
        levels.insert(plot.Envelope().Level());
    }
    EXPECT_TRUE(plot.Envelope().Raw());
    return levels;
}

TEST_P(LogWindowTest, AOneSampleSpikeShowsAtEveryZoomDownToSamples)
{
    EXPECT_EQ(ExpectSpikeAtEveryZoom(Log(), RunSamples), std::set<int>{0});
}

// Five million samples over some 800 columns: the first pictures come from
// the log's block summaries, the closer ones from its codes.
TEST(LogWindowLongLog, ASpikeShowsFromTheSummariesToTheSamples)
{
    LogFiles files;
    const std::int64_t runSamples = 2500000;
    const std::set<int> levels =
        ExpectSpikeAtEveryZoom(files.Hdf5(QStringLiteral("long.h5"), Ch0At10k(), SpikedRuns(runSamples)), runSamples);
    EXPECT_TRUE(levels.count(1) == 1 && levels.count(0) == 1) << levels.size();
}

// A long text log has no summaries of its own: the window makes them in
// memory on open, and finds the noisiest block from them as in an HDF5 log.
TEST(LogWindowLongLog, ATextLogGetsItsSummariesInMemory)
{
    LogFiles files;
    const std::int64_t runSamples = 700000;
    const std::int64_t spike = runSamples + (Spike - RunSamples);
    LogWindow window;
    window.resize(900, 480);
    QString error;
    ASSERT_TRUE(window.Open(files.Text(QStringLiteral("long.csv"), Ch0At10k(), SpikedRuns(runSamples)), error))
        << error.toStdString();
    const auto block = window.Plot()->ShowNoisiestBlock();
    ASSERT_TRUE(block.has_value());
    EXPECT_TRUE(block->first <= spike && spike <= block->second) << block->first;
    EXPECT_EQ(block->second - block->first + 1, 4096);

    // The rows made in memory are those the log writer keeps in an HDF5 log.
    const QString hdf5 = files.Hdf5(QStringLiteral("long.h5"), Ch0At10k(), SpikedRuns(runSamples));
    std::unique_ptr<LogSource> written = LogSource::Open(hdf5, error);
    ASSERT_TRUE(written) << error.toStdString();
    const std::unique_ptr<LogSource> made = SummarizedLog::Of(LogSource::Open(hdf5, error), error, {});
    ASSERT_TRUE(made) << error.toStdString();
    ASSERT_EQ(made->SummaryLevels(), written->SummaryLevels());
    for (int level = 1; level <= made->SummaryLevels(); ++level) {
        SCOPED_TRACE(level);
        std::vector<BlockSummary> expected;
        std::vector<BlockSummary> got;
        ASSERT_EQ(made->SummaryRows(level), written->SummaryRows(level));
        ASSERT_TRUE(written->ReadSummary(level, 0, written->SummaryRows(level), expected));
        ASSERT_TRUE(made->ReadSummary(level, 0, made->SummaryRows(level), got));
        for (std::size_t i = 0; i < got.size(); ++i) {
            EXPECT_EQ(std::tie(got[i].Min, got[i].Max, got[i].Count, got[i].Sum),
                      std::tie(expected[i].Min, expected[i].Max, expected[i].Count, expected[i].Sum)) << i;
            EXPECT_DOUBLE_EQ(got[i].M2, expected[i].M2) << i;
        }
    }
}

// A report's trace of a log with summaries is drawn from them, and still
// holds the one-sample spike, in the column of its sample.
TEST(LogWindowLongLog, TheReportsTraceComesFromTheSummariesWithTheSpike)
{
    LogFiles files;
    const std::int64_t runSamples = 2500000;
    const std::int64_t spike = runSamples + (Spike - RunSamples);
    QString error;
    const std::unique_ptr<LogSource> log = LogSource::Open(files.Hdf5(QStringLiteral("long.h5"), Ch0At10k(), SpikedRuns(runSamples)), error);
    ASSERT_TRUE(log && log->SummaryLevels() > 0) << error.toStdString();
    RunAnalysis analysis;
    ASSERT_TRUE(LogAnalysis::Of(QStringLiteral("long.h5"), *log, {{0, log->Samples()}}, true, analysis, error)) << error.toStdString();
    const ColumnExtremes& trace = *analysis.Channels[0].Trace;
    const auto spikeMicrovolts = static_cast<float>(CodeScale::CodeToMicrovolts(SpikeCode, 1));
    float highest = trace.Low(0);
    for (int x = 0; x < trace.Columns(); ++x)
        highest = std::max(highest, trace.High(x));
    EXPECT_EQ(highest, spikeMicrovolts);
    // Within a summary block of the spike's own column.
    const int column = static_cast<int>(spike * trace.Columns() / log->Samples());
    bool near = false;
    for (int x = std::max(column - 2, 0); x <= std::min(column + 2, trace.Columns() - 1); ++x)
        near = near || trace.High(x) == spikeMicrovolts;
    EXPECT_TRUE(near) << column;

    // The companion's plot of the log draws the same: in the top fifth of
    // the picture only the spike's stroke is red.
    const QString png = files.Folder().Path(QStringLiteral("long.png"));
    QProcess plot;
    plot.start(QStringLiteral(KORVADEX_CLI), {QStringLiteral("plot"), files.Folder().Path(QStringLiteral("long.h5")), QStringLiteral("-o"), png});
    ASSERT_TRUE(plot.waitForFinished(60000));
    ASSERT_EQ(plot.exitCode(), 0) << plot.readAllStandardError().toStdString();
    const QImage image(png);
    ASSERT_EQ(image.size(), QSize(1200, 260));
    std::set<int> redColumns;
    for (int y = 0; y < image.height() / 5; ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);  // a red stroke, smoothed onto white
            if (qRed(pixel) - qGreen(pixel) > 60 && qGreen(pixel) == qBlue(pixel))
                redColumns.insert(x);
        }
    }
    EXPECT_FALSE(redColumns.empty());
    EXPECT_LE(redColumns.size(), 3u);
}

// The spike's block is the noisiest of the whole log's, found from the
// summaries.
TEST(LogWindowLongLog, NavigatesToTheNoisiestBlock)
{
    LogFiles files;
    const std::int64_t runSamples = 2500000;
    const std::int64_t spike = runSamples + (Spike - RunSamples);
    LogWindow window;
    window.resize(900, 480);
    QString error;
    ASSERT_TRUE(window.Open(files.Hdf5(QStringLiteral("long.h5"), Ch0At10k(), SpikedRuns(runSamples)), error)) << error.toStdString();
    LogPlot& plot = *window.Plot();
    const auto block = plot.ShowNoisiestBlock();
    ASSERT_TRUE(block.has_value());
    EXPECT_TRUE(block->first <= spike && spike <= block->second) << block->first;
    EXPECT_EQ(plot.View().First(), block->first);
    // The whole log's columns come from the summaries' blocks: a quiet
    // one's mean is half a code above the lower code, from the blocks' sums.
    plot.ShowAll();
    ASSERT_GT(plot.Envelope().Level(), 0);
    const QString quiet = plot.ReadoutAt(plot.ColumnOf(runSamples / 2));
    EXPECT_TRUE(quiet.endsWith(QStringLiteral("（平均 %1.5）").arg(Quiet))) << quiet.toStdString();
}

TEST_P(LogWindowTest, ReadoutMarksAndTimeAxisTellWhereAndWhen)
{
    LogWindow window;
    window.resize(900, 480);
    QString error;
    ASSERT_TRUE(window.Open(Log(), error)) << error.toStdString();
    EXPECT_TRUE(window.Summary().startsWith(QStringLiteral("300000 サンプル　2 ラン　10ksps"))) << window.Summary().toStdString();
    LogPlot& plot = *window.Plot();

    plot.ShowSamples(Spike - 10, Spike + 9);
    const QString readout = plot.ReadoutAt(plot.ColumnOf(Spike));
    // Sample 173457 is 23457 samples, 2.3457 s, into run 2, which starts at 21:40:27.400.
    EXPECT_TRUE(readout.startsWith(QStringLiteral("2026-12-08 21:40:29.745 UTC  #173457  CH0 %1").arg(SpikeCode)))
        << readout.toStdString();

    plot.ShowAll();
    const QString coarse = plot.ReadoutAt(plot.ColumnOf(Spike));
    EXPECT_TRUE(coarse.contains(QStringLiteral(" .. %1（平均 ").arg(SpikeCode))) << coarse.toStdString();
    // A quiet column, half its codes one above the other half.
    const QString quiet = plot.ReadoutAt(plot.ColumnOf(RunSamples / 2));
    EXPECT_TRUE(quiet.endsWith(QStringLiteral("（平均 %1.5）").arg(Quiet))) << quiet.toStdString();
    if (!GetParam()) {  // the text log's gap comment is an event, marked where run 2 starts
        EXPECT_TRUE(plot.MarkAt(plot.ColumnOf(RunSamples)).startsWith(QStringLiteral("gap: "))) << plot.MarkAt(plot.ColumnOf(RunSamples)).toStdString();
        plot.ShowSamples(0, 999);
        ASSERT_TRUE(plot.ShowNextEvent());
        EXPECT_EQ(plot.View().First() + 499, RunSamples);
        EXPECT_FALSE(plot.ShowNextEvent());
    }
    EXPECT_TRUE(plot.MarkAt(plot.ColumnOf(RunSamples / 2)).isEmpty());
}

// A Shift-drag's stretch across the two runs: its figures from its own codes,
// against the deviation worked out here as the window and info work it out
// (about the mean truncated to a code, divided by N).
TEST_P(LogWindowTest, AStretchsFiguresAreThoseOfItsCodes)
{
    LogWindow window;
    window.resize(900, 480);
    QString error;
    ASSERT_TRUE(window.Open(Log(), error)) << error.toStdString();
    const std::int64_t first = RunSamples - 5001;
    const std::int64_t last = Spike + 999;
    window.Plot()->SelectSamples(last, first);
    ASSERT_TRUE(window.Stretch().has_value());

    std::vector<std::int32_t> codes;
    const std::vector<TestRun> runs = SpikedRuns();
    for (std::int64_t i = first; i <= last; ++i)
        codes.push_back(runs[static_cast<std::size_t>(i / RunSamples)].Codes[static_cast<std::size_t>(i % RunSamples)]);
    long double sum = 0;
    for (const std::int32_t code : codes)
        sum += code;
    const long double mean = std::trunc(sum / codes.size());
    long double squares = 0;
    for (const std::int32_t code : codes)
        squares += (code - mean) * (code - mean);
    const double sigma = static_cast<double>(std::sqrt(squares / codes.size()));

    ASSERT_EQ(window.Stretch()->Channels.size(), 1u);
    const ChannelReport& figures = window.Stretch()->Channels[0].Figures;
    EXPECT_EQ(figures.Count, static_cast<std::int64_t>(codes.size()));
    EXPECT_EQ(figures.MaxCode, SpikeCode);
    EXPECT_EQ(figures.MinCode, Quiet);
    EXPECT_NEAR(figures.DevCode, sigma, sigma * 1e-6);
    EXPECT_TRUE(window.findChild<QLabel*>(QStringLiteral("LogFigures"))->text().contains(QStringLiteral("最大 %1").arg(SpikeCode)));

    // Its noise analysis: the same figures, and the trace as column extremes.
    window.ShowStretchAnalysis();
    ASSERT_NE(window.Analysis(), nullptr);
    ASSERT_NE(window.Analysis()->Analysis(), nullptr);
    const ChannelAnalysis& shown = window.Analysis()->Analysis()->Channels.at(0);
    EXPECT_EQ(shown.Figures.MaxCode, SpikeCode);
    ASSERT_TRUE(shown.Trace.has_value());
    EXPECT_EQ(shown.Trace->Samples(), static_cast<std::int64_t>(codes.size()));
}

// Two 15 s runs at 10 ksps, the second 55 ms after the first ends: round
// five seconds of the clock, each on the sample at or after it, and the
// label the step needs, in UTC and in another zone.
TEST(LogTimelineTest, TicksFallOnRoundTimesOnTheirSamples)
{
    const double start = QDateTime::fromString(QStringLiteral("2026-12-08T21:40:12.345Z"), Qt::ISODateWithMs).toMSecsSinceEpoch();
    const LogTimeline timeline({{0, RunSamples, start}, {RunSamples, RunSamples, start + 15055}}, 10000);
    std::vector<std::pair<std::int64_t, QString>> ticks;
    for (const LogTimeline::Tick& tick : timeline.Ticks(0, 2 * RunSamples - 1, 8, true))
        ticks.emplace_back(tick.Sample, tick.Label);
    const std::vector<std::pair<std::int64_t, QString>> expected{
        {26550, "21:40:15"}, {76550, "21:40:20"}, {126550, "21:40:25"}, {176000, "21:40:30"}, {226000, "21:40:35"}, {276000, "21:40:40"}};
    EXPECT_EQ(ticks, expected);
    const std::vector<LogTimeline::Tick> fine = timeline.Ticks(100, 120, 4, true);
    ASSERT_FALSE(fine.empty());
    EXPECT_EQ(fine.front().Label, QStringLiteral("21:40:12.355"));
    EXPECT_EQ(timeline.PositionOf(start + 15020), RunSamples);  // in the gap: the next run's first sample
#ifndef _WIN32  // Windows takes its zone from the system, not from TZ
    qputenv("TZ", "Asia/Tokyo");
    EXPECT_EQ(timeline.Ticks(0, 2 * RunSamples - 1, 8, false).front().Label, QStringLiteral("06:40:15"));
    qunsetenv("TZ");
#endif
}

// A text log whose writer has not ended it grows on disk: the window looks
// again each second and follows the end at its zoom, or keeps its place
// when it was not at the end.
TEST(LogWindowFollow, FollowsTheEndOfALogThatGrows)
{
    LogFiles files;
    const auto unended = [&](std::int64_t runSamples) {
        const QString path = files.Text(QStringLiteral("live.csv"), Ch0At10k(), SpikedRuns(runSamples));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        QByteArray text = file.readAll();
        file.close();
        text.truncate(text.lastIndexOf("# ended"));  // the writer still at it
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(text);
        return path;
    };
    LogWindow window;
    window.resize(900, 480);
    QString error;
    ASSERT_TRUE(window.Open(unended(30000), error)) << error.toStdString();
    LogPlot& plot = *window.Plot();
    plot.ShowSamples(50000, 59999);  // the end, at a zoom
    unended(40000);
    // QtTest's own QTRY macros would only return, unseen by gtest.
    ASSERT_TRUE(QTest::qWaitFor([&] { return plot.View().Last() == 79999; }, 5000)) << plot.View().Last();
    EXPECT_EQ(plot.View().First(), 70000);

    plot.ShowSamples(1000, 1999);  // not the end: the view stays
    const QString live = unended(50000);
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.Summary().startsWith(QStringLiteral("100000 ")); }, 5000))
        << window.Summary().toStdString();
    EXPECT_EQ(plot.View().First(), 1000);
    EXPECT_EQ(plot.View().Last(), 1999);

    // Other rows in a file of the same size, as an HDF5 log grows inside a
    // chunk it has already allocated: the change is seen all the same.
    const QString before = window.Summary();
    QFile read(live);
    ASSERT_TRUE(read.open(QIODevice::ReadOnly));
    QByteArray text = read.readAll();
    const qsizetype size = text.size();
    text.truncate(text.lastIndexOf('\n', size - 200) + 1);
    const QByteArray padding = '#' + QByteArray(size - text.size() - 2, ' ') + '\n';
    text.append(padding);
    QFile same(live);  // written over in place: no other size to be seen meanwhile
    ASSERT_TRUE(same.open(QIODevice::ReadWrite));
    ASSERT_EQ(same.write(text), size);
    same.close();
    ASSERT_EQ(QFileInfo(live).size(), size);
    EXPECT_TRUE(QTest::qWaitFor([&] { return window.Summary() != before; }, 5000)) << before.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Form, LogWindowTest, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) { return info.param ? "Hdf5" : "Text"; });

// A stretch typed as a time and a sample number, or dragged, is exported
// as the sample table, as a run in a ".DTA" file and as the plot's picture;
// a stretch longer than a run is refused as ".DTA" and nothing is written.
TEST(LogWindowExport, AStretchGoesToCsvDtaAndPng)
{
    LogFiles files;
    ScriptedFiles chooser;
    ScriptedConfirm confirm;
    LogWindow window(nullptr, &chooser, &confirm);
    window.resize(900, 480);
    QString error;
    ASSERT_TRUE(window.Open(files.Hdf5(QStringLiteral("stretch.h5"), Ch0At10k(), SpikedRuns()), error)) << error.toStdString();
    // Run 2 starts at 21:40:27.400 with sample 150000: 2.3 s on is sample 173000.
    window.findChild<QLineEdit*>(QStringLiteral("LogFrom"))->setText(QStringLiteral("2026-12-08 21:40:29.700"));
    window.findChild<QLineEdit*>(QStringLiteral("LogTo"))->setText(QStringLiteral("173499"));
    ASSERT_TRUE(window.SelectTyped());
    EXPECT_EQ(window.Stretch()->Channels[0].Figures.MaxCode, SpikeCode);
    EXPECT_EQ(window.Stretch()->Channels[0].Figures.Count, 500);

    const DtaFiles& folder = files.Folder();
    const QStringList paths{folder.Path(QStringLiteral("s.csv")), folder.Path(QStringLiteral("s.DTA")),
                            folder.Path(QStringLiteral("s.png"))};
    chooser.Paths = paths;
    for (const QString& path : paths)
        ASSERT_TRUE(window.ExportStretch()) << path.toStdString();
    QFile csv(paths[0]);
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    const QList<QByteArray> rows = csv.readAll().trimmed().split('\n');
    ASSERT_EQ(rows.size(), 501);
    EXPECT_TRUE(rows[1 + Spike - 173000].startsWith(QByteArray::number(Spike - 173000) + ',')) << rows[1 + Spike - 173000].toStdString();
    EXPECT_TRUE(rows[1 + Spike - 173000].contains(',' + QByteArray::number(SpikeCode) + ','));

    std::vector<std::int32_t> codes(SampleCapacity);
    std::vector<std::int32_t> unused(SampleCapacity);
    ChannelData ch0{0, codes.data(), nullptr};
    ChannelData ch1{0, unused.data(), nullptr};
    MeasureSettings settings;
    ASSERT_TRUE(TmyFile(confirm).LoadFile(paths[1], &settings, &ch0, &ch1));
    EXPECT_EQ(ch0.Count, 500);
    EXPECT_EQ(MeasureItems::CountValue(settings.DataCountSel), 500);
    EXPECT_EQ(codes[static_cast<std::size_t>(Spike - 173000)], SpikeCode);
    EXPECT_EQ(QImage(paths[2]).size(), window.Plot()->size());

    window.Plot()->SelectSamples(0, 120000);
    chooser.Paths = {folder.Path(QStringLiteral("long.DTA"))};
    EXPECT_FALSE(window.ExportStretch());
    EXPECT_FALSE(QFile::exists(folder.Path(QStringLiteral("long.DTA"))));
    EXPECT_TRUE(window.findChild<QLabel*>(QStringLiteral("LogFigures"))->text().contains(QStringLiteral("more than a run")));
}

TEST(LogWindowMenu, OpensALogBesideTheWindowAndRefusesWhatIsNotOne)
{
    WindowRig rig;
    LogFiles files;
    const QString notALog = files.Folder().WriteText(QStringLiteral("notes.csv"), "hello\n");
    rig.files.Paths = {notALog, files.Text(QStringLiteral("good.csv"), Ch0At10k(), SpikedRuns()),
                       files.Hdf5(QStringLiteral("next.h5"), Ch0At10k(), SpikedRuns(30000))};
    QAction* open = rig.Find<QAction>("OpenLog");
    ASSERT_NE(open, nullptr);

    open->trigger();
    EXPECT_TRUE(rig.OnlyBox().contains(notALog)) << rig.OnlyBox().toStdString();
    EXPECT_EQ(rig.window->findChild<LogWindow*>(), nullptr);

    open->trigger();
    LogWindow* window = rig.window->findChild<LogWindow*>();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("ログ - good.csv"));
    EXPECT_EQ(rig.files.Dialogs.back().Filter, QStringLiteral("ログ (*.h5 *.csv)|*.h5 *.csv"));

    open->trigger();  // another log in the same window
    EXPECT_EQ(rig.window->findChild<LogWindow*>(), window);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("ログ - next.h5"));
    EXPECT_EQ(window->Plot()->View().Last(), 59999);
}

} // namespace
