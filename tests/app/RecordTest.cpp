// Recording from the window, on the virtual boards: the companion records in
// a process of its own while the log window follows the file, the board's
// controls are locked, and stopping, a pulled cable, several boards and
// closing the window all leave a whole log.

#include "KORVADEX_Main.h"
#include "LogPlot.h"
#include "LogSource.h"
#include "LogWindow.h"
#include "RecordAsker.h"
#include "RecordDialog.h"
#include "TestDoubles.h"

#include "D2xxLoader.h"
#include "MeasureItems.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <utility>

namespace {

constexpr int StartMs = 30000;

// Gives the scripted request, once, and keeps the proposal it was shown.
class ScriptedRecords : public RecordAsker {
public:
    std::optional<RecordRequest> AskRecord(const RecordRequest& proposal) override
    {
        Proposals.push_back(proposal);
        return Answer;
    }

    std::optional<RecordRequest> Answer;
    std::vector<RecordRequest> Proposals;
};

// The main window on the virtual boards of `devices`, its driver the
// drop-in library the companion loads too.
class RecordFromWindow : public ::testing::Test {
protected:
    void Open(const char* devices, std::vector<std::pair<const char*, const char*>> board = {})
    {
        qputenv("KORVADEX_SIM_DEVICES", devices);
        qputenv("KORVADEX_SIM_SPEED", "10");
        for (const auto& [name, value] : board)
            qputenv(name, value);
        const QByteArray paths = qgetenv(LIBRARY_PATH_VARIABLE);
        qputenv(LIBRARY_PATH_VARIABLE, QByteArray(SIM_D2XX_DIR) + (paths.isEmpty() ? QByteArray() : ListSeparator + paths));
        driver = LoadD2xxLibrary(SIM_D2XX_FILE);
        ASSERT_TRUE(driver);
        RecordRequest request;
        request.Path = folder.filePath(QStringLiteral("recorded.h5"));
        // A thousand samples a second: an HDF5 log then grows inside a chunk
        // it has already allocated, the file's size unchanged for a while.
        request.Settings.spsSel = *MeasureItems::ParseRate(QStringLiteral("100sps"));
        request.Settings.fSinc5 = 1;
        records.Answer = request;
        window = std::make_unique<TFormMain>(WindowServices{*driver, messages, confirm, files, components, &boards, &records});
        window->show();
    }

    QAction* Item(const char* name) const { return window->findChild<QAction*>(QString::fromLatin1(name)); }
    LogWindow* View() const { return window->findChild<LogWindow*>(); }
    bool Recording() const { return Item("StopRecording")->isEnabled(); }
    QString Status() const { return View()->findChild<QLabel*>(QStringLiteral("LogRecording"))->text(); }

    // Starts, and waits until the log window shows samples of the whole log so far.
    bool StartAndSeeSamples()
    {
        Item("Record")->trigger();
        return QTest::qWaitFor([this] { return View() != nullptr && View()->Overview()->View().Last() > 2000; }, StartMs);
    }

    bool StopAndWait()
    {
        Item("StopRecording")->trigger();
        return QTest::qWaitFor([this] { return !Recording(); }, StartMs);
    }

    // The log as the file holds it, and how its last run ended.
    std::unique_ptr<LogSource> Log() const
    {
        QString error;
        std::unique_ptr<LogSource> log = LogSource::Open(records.Answer->Path, error);
        EXPECT_TRUE(log) << error.toStdString();
        return log;
    }

    static std::string LastEnd(LogSource& log)
    {
        std::vector<LogRun> runs;
        return log.ReadRuns(log.RunCount() - 1, 1, runs) && runs.size() == 1 ? runs[0].End : std::string();
    }

#ifdef _WIN32
    static constexpr char ListSeparator = ';';
#else
    static constexpr char ListSeparator = ':';
#endif
    QTemporaryDir folder;
    std::unique_ptr<D2xx> driver;
    RecordingPresenter messages;
    ScriptedConfirm confirm;
    ScriptedFiles files;
    ScriptedBoards boards;
    ScriptedRecords records;
    ComponentFactory components;
    std::unique_ptr<TFormMain> window;
};

// Start: the measurement controls lock, the log window follows the file
// (the last seconds, and the whole log below), and the status line counts.
// Stop: the companion ends the log as Ctrl-C would, the controls unlock,
// and the window shows the file whole.
TEST_F(RecordFromWindow, FollowsTheLogAndStopsItWhole)
{
    Open("KVX0001:board");
    ASSERT_TRUE(StartAndSeeSamples()) << Status().toStdString();
    EXPECT_FALSE(window->findChild<QPushButton*>(QStringLiteral("MeasureBtn"))->isEnabled());
    EXPECT_FALSE(Item("Record")->isEnabled());
    EXPECT_TRUE(View()->FollowsRecording());
    EXPECT_TRUE(Status().startsWith(QStringLiteral("記録中　"))) << Status().toStdString();
    ASSERT_TRUE(StopAndWait());

    EXPECT_TRUE(window->findChild<QPushButton*>(QStringLiteral("MeasureBtn"))->isEnabled());
    EXPECT_TRUE(messages.Boxes.empty());
    EXPECT_TRUE(Status().startsWith(QStringLiteral("記録終了: %1: 1 runs, ").arg(records.Answer->Path))) << Status().toStdString();
    const std::unique_ptr<LogSource> log = Log();
    ASSERT_TRUE(log);
    EXPECT_EQ(LastEnd(*log), "stopped");
    EXPECT_TRUE(Status().contains(QStringLiteral("%1 samples").arg(log->Samples()))) << Status().toStdString();
    EXPECT_EQ(View()->Overview()->View().Last(), log->Samples() - 1);
    EXPECT_EQ(records.Proposals.front().Settings.spsSel, window->findChild<QComboBox*>(QStringLiteral("ComboBox1"))->currentIndex());
}

// A cable pulled mid-run: with reconnecting the recording waits, goes on
// when the board is back and counts it; without, it ends and says why, and
// the log, HDF5 or text, says its last run ended by a read error. The log is
// whole either way.
TEST_F(RecordFromWindow, APulledCableIsWaitedForOrEndsTheRecording)
{
    const std::pair<bool, QString> cases[] = {{true, QStringLiteral("on.h5")}, {false, QStringLiteral("off.h5")},
                                              {false, QStringLiteral("off.csv")}};
    for (const auto& [reconnect, file] : cases) {
        SCOPED_TRACE(file.toStdString());
        Open("KVX0001:board", {{"KORVADEX_SIM_CABLE_PULL_AFTER", "12000"}, {"KORVADEX_SIM_REPLUG_AFTER_MS", "300"}});
        records.Answer->Reconnect = reconnect;
        records.Answer->Path = folder.filePath(file);
        Item("Record")->trigger();
        if (reconnect) {
            ASSERT_TRUE(QTest::qWaitFor([this] { return Status().contains(QStringLiteral("再接続 1 回")); }, StartMs))
                << Status().toStdString();
            ASSERT_TRUE(StopAndWait());
            EXPECT_TRUE(messages.Boxes.empty());
        } else {
            ASSERT_TRUE(QTest::qWaitFor([this] { return View() != nullptr && !Recording(); }, StartMs));
            ASSERT_EQ(messages.Boxes.size(), 1u);
            // The companion's own words, as its terminal would show them.
            EXPECT_TRUE(messages.Boxes[0].Text.startsWith(QStringLiteral("計測エラーで終了"))) << messages.Boxes[0].Text.toStdString();
            EXPECT_TRUE(messages.Boxes[0].Text.contains(QStringLiteral("cable pulled"))) << messages.Boxes[0].Text.toStdString();
        }
        const std::unique_ptr<LogSource> log = Log();
        ASSERT_TRUE(log);
        EXPECT_EQ(LastEnd(*log), reconnect ? "stopped" : "read error");
        window.reset();
        messages.Boxes.clear();
    }
}

// Among several boards the chooser comes first, and the log is the chosen
// board's; cancelling it records nothing.
TEST_F(RecordFromWindow, SeveralBoardsAskWhichFirst)
{
    Open("KVX0001:board,KVX0002:board");
    boards.Answers = {QString(), QStringLiteral("KVX0002")};
    Item("Record")->trigger();
    EXPECT_TRUE(records.Proposals.empty());
    EXPECT_FALSE(Recording());
    ASSERT_TRUE(StartAndSeeSamples()) << Status().toStdString() << messages.Boxes.size();
    ASSERT_TRUE(StopAndWait());
    ASSERT_EQ(boards.Offered.size(), 2u);
    EXPECT_EQ(boards.Offered[1], (QStringList{QStringLiteral("KVX0001"), QStringLiteral("KVX0002")}));
    const std::unique_ptr<LogSource> log = Log();
    ASSERT_TRUE(log);
    EXPECT_EQ(log->Head().BoardSerial, "KVX0002");
}

// Closing the window while it records asks first: no keeps both going, yes
// stops the recording and leaves its log whole.
TEST_F(RecordFromWindow, ClosingAsksFirstAndEndsTheLogWhole)
{
    Open("KVX0001:board");
    ASSERT_TRUE(StartAndSeeSamples());
    confirm.Answer = false;
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(Recording());
    confirm.Answer = true;
    EXPECT_TRUE(window->close());
    EXPECT_FALSE(Recording());
    EXPECT_EQ(confirm.Questions.size(), 2u);
    const std::unique_ptr<LogSource> log = Log();
    ASSERT_TRUE(log);
    EXPECT_EQ(LastEnd(*log), "stopped");
}

bool SameRequest(const RecordRequest& a, const RecordRequest& b)
{
    return a.Path == b.Path && a.Settings.spsSel == b.Settings.spsSel && a.Settings.CHSel == b.Settings.CHSel
           && a.Settings.fSinc5 == b.Settings.fSinc5 && a.Until == b.Until && a.Seconds == b.Seconds && a.Runs == b.Runs
           && a.Reconnect == b.Reconnect && a.PublishUrl == b.PublishUrl && a.MqttUser == b.MqttUser
           && a.MqttPasswordFile == b.MqttPasswordFile && a.BoardSerial == b.BoardSerial;
}

// The dialog gives back the request it was shown, a time in any unit, and
// what the operator changes; the companion is asked for exactly that.
TEST(RecordDialog, GivesBackWhatItShowsAndTheCompanionGetsIt)
{
    RecordRequest hours;
    hours.Path = QStringLiteral("week.h5");
    hours.Settings.spsSel = 16;
    hours.Settings.CHSel = ModeCh1;
    hours.Until = RecordRequest::Length::Seconds;
    hours.Seconds = 7200.0;
    hours.BoardSerial = QStringLiteral("KVX0002");
    RecordRequest published = hours;
    published.Until = RecordRequest::Length::UntilStopped;
    published.Reconnect = false;
    published.PublishUrl = QStringLiteral("mqtt://127.0.0.1:1883/lab");
    published.MqttUser = QStringLiteral("lab");
    published.MqttPasswordFile = QStringLiteral("secret.txt");
    for (const RecordRequest& shown : {hours, published}) {
        RecordDialog dialog(shown);
        EXPECT_TRUE(SameRequest(dialog.Request(), shown)) << shown.PublishUrl.toStdString();
    }
    EXPECT_EQ(hours.CompanionWords().join(QLatin1Char(' ')),
              "log --rate 16 --channel 1 --filter sinc3 -o week.h5 --force --stop-with-stdin --duration 7200 --reconnect "
              "--board KVX0002");
    EXPECT_TRUE(published.CompanionWords().join(QLatin1Char(' ')).endsWith(
        "--board KVX0002 --publish mqtt://127.0.0.1:1883/lab --mqtt-user lab --mqtt-password-file secret.txt"));

    RecordDialog dialog(hours);
    dialog.findChild<QRadioButton*>(QStringLiteral("RecordForRuns"))->setChecked(true);
    dialog.findChild<QSpinBox*>(QStringLiteral("RecordRuns"))->setValue(3);
    EXPECT_EQ(dialog.Request().Until, RecordRequest::Length::Runs);
    EXPECT_TRUE(dialog.Request().CompanionWords().join(QLatin1Char(' ')).contains("--runs 3"));
    auto* start = dialog.findChild<QPushButton*>(QStringLiteral("RecordStart"));
    dialog.findChild<QLineEdit*>(QStringLiteral("RecordPath"))->clear();
    EXPECT_FALSE(start->isEnabled());
}

} // namespace
