#include "AnalysisWindow.h"
#include "MeasureRig.h"
#include "ReportJson.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QMenu>
#include <QPointer>
#include <QProcess>
#include <QTableWidget>
#include <QTemporaryDir>

namespace {

using namespace std::chrono_literals;

struct AnalysisRig : MeasureRig {
    QString PathOf(const QString& name) const { return QDir(folder.path()).filePath(name); }
    void Trigger(const char* item, const QString& chosen = QString())
    {
        if (!chosen.isEmpty())
            files.Paths << chosen;
        Find<QAction>(item)->trigger();
    }
    // A complete run on the board's current signals.
    void Run(int rate, int count, int channel)
    {
        Choose(rate, count, channel);
        Press();
        RunToEnd(60s);
        ASSERT_FALSE(probe.Running());
        // The analysis window paints now, as it would before an operator's
        // next click, not inside the next command's 100 ms reply wait.
        QCoreApplication::processEvents();
    }
    AnalysisWindow* View() const { return window->findChild<AnalysisWindow*>(QStringLiteral("AnalysisWindow")); }
    std::int32_t ShownCount() const
    {
        const RunAnalysis* analysis = View() ? View()->Analysis() : nullptr;
        return analysis && !analysis->Channels.empty() ? analysis->Channels.front().Figures.Count : 0;
    }
    // What the companion prints for a file, or fails the test.
    static QByteArray Companion(const QStringList& arguments)
    {
        QProcess cli;
        cli.start(QStringLiteral(KORVADEX_CLI), arguments);
        EXPECT_TRUE(cli.waitForFinished(60000));
        EXPECT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();
        return cli.readAllStandardOutput();
    }
    static QByteArray Contents(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    QTemporaryDir folder;
};

TEST(AnalysisView, WithoutDataEachItemSaysSoAndDoesNothingElse)
{
    AnalysisRig rig;
    for (const char* item : {"ExportCsv", "NoiseAnalysis", "SaveReport"}) {
        rig.messages.Boxes.clear();
        rig.Trigger(item);
        EXPECT_EQ(rig.OnlyBox(), "データがありません") << item;
    }
    EXPECT_TRUE(rig.files.Dialogs.empty());
    EXPECT_EQ(rig.View(), nullptr);
}

TEST(AnalysisView, ItemsAreLockedWithTheirMenuDuringARun)
{
    AnalysisRig rig;
    rig.Choose(5, 3, 0);
    rig.Press();
    ASSERT_TRUE(rig.probe.Running());
    EXPECT_FALSE(rig.Find<QMenu>("Data1")->menuAction()->isEnabled());
    for (const char* item : {"ExportCsv", "NoiseAnalysis", "SaveReport"})
        EXPECT_EQ(rig.Find<QAction>(item)->parent(), rig.Find<QMenu>("Data1")) << item;
    rig.RunToEnd(20s);
    EXPECT_TRUE(rig.Find<QMenu>("Data1")->menuAction()->isEnabled());
}

TEST(AnalysisView, FollowsALoadASecondRunAndAClear)
{
    AnalysisRig rig;
    rig.CountFrom(8388608);
    rig.Run(16, 0, 0);  // 100 samples
    rig.Trigger("NoiseAnalysis");
    ASSERT_NE(rig.View(), nullptr);
    EXPECT_TRUE(rig.View()->isVisible());
    EXPECT_EQ(rig.ShownCount(), 100);
    EXPECT_FALSE(rig.View()->Analysis()->Channels.front().Spectrum);  // too short: the chart says why
    EXPECT_EQ(rig.View()->findChild<QTableWidget*>(QStringLiteral("NoiseTable"))->rowCount(), 1);

    const QString saved = rig.PathOf(QStringLiteral("pairs.DTA"));
    rig.Run(16, 1, 2);  // 200 pairs
    EXPECT_EQ(rig.ShownCount(), 200);
    EXPECT_EQ(rig.View()->Analysis()->Channels.size(), 2u);
    rig.Trigger("Save1", saved);
    EXPECT_EQ(rig.View()->Analysis()->Name, saved);

    rig.Run(16, 0, 1);  // 100 samples of CH1
    EXPECT_EQ(rig.View()->Analysis()->Channels.front().Figures.Channel, 1);

    rig.Trigger("Load1", saved);
    EXPECT_EQ(rig.ShownCount(), 200);
    EXPECT_EQ(rig.View()->Analysis()->Name, saved);

    rig.Trigger("DataClear");
    EXPECT_EQ(rig.View()->Analysis(), nullptr);
    EXPECT_EQ(rig.View()->findChild<QTableWidget*>(QStringLiteral("NoiseTable"))->rowCount(), 0);

    // Opened again, the one window is raised, not a second one made.
    rig.Trigger("Load1", saved);
    rig.Trigger("NoiseAnalysis");
    EXPECT_EQ(rig.window->findChildren<AnalysisWindow*>().size(), 1);

    // It ends with the main window.
    const QPointer<AnalysisWindow> view = rig.View();
    rig.window.reset();
    EXPECT_TRUE(view.isNull());
}

// A 50 Hz sine on CH0 of a seeded board: what the window shows and writes
// is what the companion prints for the same run saved.
TEST(AnalysisView, FiguresSpursCsvAndReportAreTheCompanions)
{
    AnalysisRig rig;
    SignalConfig inputs;
    inputs.Channel[0] = {1000.0, 1.0, 300.0, 50.0};
    inputs.Seed = 7;
    rig.board.SetSignals(inputs);
    rig.Run(8, 6, 0);  // 1 ksps, 5000 samples
    const QString saved = rig.PathOf(QStringLiteral("sine.DTA"));
    rig.Trigger("Save1", saved);
    rig.Trigger("NoiseAnalysis");
    ASSERT_NE(rig.View()->Analysis(), nullptr);
    const RunAnalysis& shown = *rig.View()->Analysis();
    ASSERT_FALSE(shown.Channels.front().Spurs.empty());
    EXPECT_EQ(shown.Channels.front().Spurs.front().MainsHz, 50);
    EXPECT_EQ(ReportJson::Line(shown) + '\n',
              AnalysisRig::Companion({QStringLiteral("report"), QStringLiteral("--json"), saved}));

    const QString csv = rig.PathOf(QStringLiteral("sine.csv"));
    rig.Trigger("ExportCsv", csv);
    EXPECT_EQ(AnalysisRig::Contents(csv), AnalysisRig::Companion({QStringLiteral("export"), saved}));

    rig.Trigger("SaveReport", rig.PathOf(QStringLiteral("sine.pdf")));
    EXPECT_TRUE(AnalysisRig::Contents(rig.PathOf(QStringLiteral("sine.pdf"))).startsWith("%PDF-"));
    rig.Trigger("SaveReport", rig.PathOf(QStringLiteral("sine.png")));
    EXPECT_EQ(QImage(rig.PathOf(QStringLiteral("sine.png"))).size(), QSize(1190, 1684));
    EXPECT_TRUE(rig.messages.Boxes.empty());
}

TEST(AnalysisView, ReplacingAFileAsksFirstAndAFailureKeepsTheOldFile)
{
    AnalysisRig rig;
    rig.CountFrom(8388608);
    rig.Run(16, 0, 0);
    const QString csv = rig.PathOf(QStringLiteral("old.csv"));
    QFile old(csv);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old\n");
    old.close();

    rig.confirm.Answer = false;
    rig.Trigger("ExportCsv", csv);
    EXPECT_EQ(AnalysisRig::Contents(csv), "old\n");
    ASSERT_EQ(rig.confirm.Questions.size(), 1u);
    rig.confirm.Answer = true;

    // A name without the extension gets it; a folder that is not there fails.
    rig.Trigger("ExportCsv", rig.PathOf(QStringLiteral("new")));
    EXPECT_TRUE(AnalysisRig::Contents(rig.PathOf(QStringLiteral("new.csv"))).startsWith("index,time_s,ch0_code"));
    rig.Trigger("SaveReport", rig.PathOf(QStringLiteral("missing/report.pdf")));
    EXPECT_EQ(rig.OnlyBox(), "データ保存できませんでした");
}

} // namespace
