#include "MeasureRig.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QRadioButton>
#include <QTemporaryDir>

namespace {

using namespace std::chrono_literals;

constexpr std::int32_t MidScale = 8388608;

struct FileRig : MeasureRig {
    QString PathOf(const QString& name) const { return QDir(folder.path()).filePath(name); }

    void Save(const QString& chosen)
    {
        files.Paths << chosen;
        Find<QAction>("Save1")->trigger();
    }

    void Load(const QString& chosen)
    {
        files.Paths << chosen;
        Find<QAction>("Load1")->trigger();
    }

    QByteArray Contents(const QString& path) const
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    void Write(const QString& path, const QByteArray& contents) const
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(contents);
    }

    // A complete run of 100 samples (pairs) at 125 ksps on the counter pattern.
    void Run(int channel, bool sinc5 = false, int rate = 16)
    {
        CountFrom(MidScale);
        Choose(rate, 0, channel, sinc5);
        Press();
        RunToEnd(2s);
        ASSERT_FALSE(probe.Running());
    }

    // The window names the saved file as it was spelled, and loads it back
    // without a box.
    void ExpectTitledAndLoadedBack(const QString& saved)
    {
        EXPECT_EQ(window->windowTitle(), "KORVADEX / v2.00 : " + saved);
        Load(saved);
        EXPECT_TRUE(messages.Boxes.empty());
        EXPECT_EQ(Panel(1), "データファイル読み込みました");
    }

    QStringList Texts() const { return {Panel(1), Panel(2), Label("Label1"), Label("Label11"), Label("Label16")}; }

    QString Item(const char* list) const { return Find<QComboBox>(list)->currentText(); }

    QTemporaryDir folder;
};

QByteArray FileOf(const char* settings, const char* data)
{
    return QByteArray("AD7175_DataFile:\r\nM:\r\n") + settings + "MEND:\r\nD:\r\n" + data + "DEND:\r\n";
}

const char* const Ch0Settings = "spsSel:5\r\nDataCountSel:0\r\nCHSel:0\r\nGainSel:0\r\nfSinc5:0\r\nfBUF_ON:0\r\n";

TEST(Save, WithoutDataSaysSoAndOpensNoDialog)
{
    FileRig rig;
    rig.Save(rig.PathOf("run1"));
    ASSERT_EQ(rig.messages.Boxes.size(), 1u);
    EXPECT_EQ(rig.messages.Boxes[0].Caption, "KORVADEX Board");
    EXPECT_EQ(rig.messages.Boxes[0].Text, "データがありません");
    EXPECT_TRUE(rig.files.Dialogs.empty());
    EXPECT_TRUE(QDir(rig.folder.path()).isEmpty());
}

TEST(Save, AfterClearSaysThereIsNoData)
{
    FileRig rig;
    rig.Run(0);
    rig.Find<QAction>("DataClear")->trigger();
    rig.Save(rig.PathOf("run1"));
    EXPECT_EQ(rig.OnlyBox(), "データがありません");
}

TEST(Save, AppendsDtaUnlessThePathEndsInExactlyDta)
{
    FileRig rig;
    rig.Run(0);
    rig.Save(rig.PathOf("run1"));
    rig.Save(rig.PathOf("run2.dta"));
    rig.Save(rig.PathOf("run3.DTA"));
    rig.Save(rig.PathOf("run4.txt"));
    EXPECT_EQ(QDir(rig.folder.path()).entryList(QDir::Files),
              QStringList({"run1.DTA", "run2.dta.DTA", "run3.DTA", "run4.txt.DTA"}));
    ASSERT_EQ(rig.files.Dialogs.size(), 4u);
    EXPECT_TRUE(rig.files.Dialogs[0].Save);
    EXPECT_EQ(rig.files.Dialogs[0].Filter, "Data files (*.DTA)|*.DTA");
    EXPECT_EQ(rig.files.Dialogs[0].InitialName, "*.DTA");
    EXPECT_EQ(rig.Panel(1), "データファイルを保存しました");
    EXPECT_EQ(rig.window->windowTitle(), "KORVADEX / v2.00 : " + rig.PathOf("run4.txt.DTA"));
    EXPECT_TRUE(rig.messages.Boxes.empty());
}

TEST(Save, CancelledDialogSavesNothing)
{
    FileRig rig;
    rig.Run(0);
    rig.Save(QString());
    EXPECT_TRUE(QDir(rig.folder.path()).isEmpty());
    EXPECT_EQ(rig.Panel(1), "計測終了しました");
    EXPECT_EQ(rig.window->windowTitle(), "KORVADEX / v2.00");
}

TEST(Save, WritesTheRunsSettingsAndChannelWhateverTheListsShowNow)
{
    FileRig rig;
    rig.Run(0);
    rig.Choose(3, 9, 2, true);
    rig.Save(rig.PathOf("ch0"));
    const QByteArray file = rig.Contents(rig.PathOf("ch0.DTA"));
    EXPECT_TRUE(file.startsWith("AD7175_DataFile:\r\nM:\r\nspsSel:16\r\nDataCountSel:0\r\nCHSel:0\r\nGainSel:0\r\n"
                                "fSinc5:0\r\nfBUF_ON:0\r\nMEND:\r\nD:\r\n8388608\r\n8388609\r\n"))
        << file.left(200).toStdString();
    EXPECT_TRUE(file.endsWith("\r\n8388707\r\nDEND:\r\n"));
}

TEST(Save, DualRunUsesTheTwoColumnWriter)
{
    FileRig rig;
    rig.Run(2);
    rig.Choose(16, 0, 0);
    rig.Save(rig.PathOf("dual"));
    const QByteArray file = rig.Contents(rig.PathOf("dual.DTA"));
    EXPECT_TRUE(file.contains("CHSel:2\r\n"));
    EXPECT_TRUE(file.contains("D:\r\n8388608,0\r\n8388609,1\r\n"));
    EXPECT_TRUE(file.endsWith("8388707,99\r\nDEND:\r\n"));
}

TEST(Save, DecliningTheOverwriteLeavesTheFileStatusAndCaptionAsTheyWere)
{
    FileRig rig;
    const QString path = rig.PathOf("old.DTA");
    rig.Write(path, "keep me byte for byte\n");
    rig.Run(0);
    rig.confirm.Answer = false;
    rig.Save(path);
    ASSERT_EQ(rig.confirm.Questions.size(), 1u);
    EXPECT_EQ(rig.confirm.Questions[0].Caption, "確認");
    EXPECT_EQ(rig.Contents(path), "keep me byte for byte\n");
    EXPECT_TRUE(rig.messages.Boxes.empty());
    EXPECT_EQ(rig.Panel(1), "計測終了しました") << "nothing was saved";
    EXPECT_EQ(rig.window->windowTitle(), "KORVADEX / v2.00");
}

TEST(Save, UnwritablePlaceShowsTheSaveErrorAndChangesNothingElse)
{
    FileRig rig;
    rig.Run(0);
    rig.Save(rig.PathOf("no/such/folder/run"));
    EXPECT_EQ(rig.OnlyBox(), "データ保存できませんでした");
    EXPECT_EQ(rig.Panel(1), "計測終了しました");
    EXPECT_EQ(rig.window->windowTitle(), "KORVADEX / v2.00");
}

TEST(Save, PathsOfAnyLengthAreSavedAndLoaded)
{
    FileRig rig;
    rig.Run(0);
    QString name = QString(180, QLatin1Char('x'));
    const QString folder = rig.PathOf(QString(120, QLatin1Char('d')));
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString path = QDir(folder).filePath(name);
    rig.Save(path);
    EXPECT_TRUE(QFile::exists(path + ".DTA"));
    rig.ExpectTitledAndLoadedBack(path + ".DTA");
}

// The path as the platform's file dialog spells it: on Windows with the
// drive letter and backslashes, here in a folder named in Japanese.
TEST(Save, NativeSpellingOfAPathInAJapaneseFolderIsSavedAndLoaded)
{
    FileRig rig;
    ASSERT_TRUE(QDir().mkpath(rig.PathOf("測定データ")));
    const QString path = QDir::toNativeSeparators(rig.PathOf("測定データ/run"));
    rig.Run(2);
    rig.Save(path);
    const QByteArray saved = rig.Contents(rig.PathOf("測定データ/run.DTA"));
    EXPECT_TRUE(saved.startsWith("AD7175_DataFile:\r\nM:\r\n")) << saved.left(40).toStdString();
    EXPECT_TRUE(saved.endsWith("\r\n8388707,99\r\nDEND:\r\n")) << "CR LF, never CR CR LF";
    EXPECT_FALSE(saved.contains("\r\r"));
    rig.ExpectTitledAndLoadedBack(path + ".DTA");
}

// A run kept read-only (by the operator, or on a write-protected share) can
// still be loaded.
TEST(Load, ReadOnlyFileIsLoaded)
{
    FileRig rig;
    rig.Run(0);
    rig.Save(rig.PathOf("kept"));
    const QString path = rig.PathOf("kept.DTA");
    const QStringList afterRun = rig.Texts();
    ASSERT_TRUE(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther));
    rig.Find<QAction>("DataClear")->trigger();
    rig.Load(path);
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    EXPECT_TRUE(rig.messages.Boxes.empty());
    QStringList afterLoad = rig.Texts();
    EXPECT_EQ(afterLoad.takeFirst(), "データファイル読み込みました");
    EXPECT_EQ(afterLoad, afterRun.mid(1));
}

TEST(Save, FailedStartKeepsTheEarlierRunWithItsOwnSettings)
{
    FileRig rig;
    rig.Run(0);
    BoardFaults faults;
    faults.NgToAll = true;
    rig.board.SetFaults(faults);
    rig.Choose(3, 9, 2, true);
    rig.Press(); // the filter command is refused
    ASSERT_EQ(rig.Panel(0), "KORVADEX Board がエラーです");
    rig.Save(rig.PathOf("kept"));
    const QByteArray file = rig.Contents(rig.PathOf("kept.DTA"));
    EXPECT_TRUE(file.contains("spsSel:16\r\nDataCountSel:0\r\nCHSel:0\r\n")) << file.left(120).toStdString();
    EXPECT_TRUE(file.contains("fSinc5:0\r\n"));
    EXPECT_FALSE(file.contains(",")) << "one column: CH1 holds nothing of this run";
}

TEST(Load, SaveThenLoadRestoresListsFilterGraphStatisticsAndCaption)
{
    FileRig rig;
    rig.Run(2, true, 15);
    rig.Save(rig.PathOf("run"));
    const QStringList afterRun = rig.Texts();
    rig.Bar().Clicked();
    const QString ch1Statistics = rig.Panel(2);

    rig.Find<QAction>("DataClear")->trigger();
    rig.Choose(0, 9, 0, false);
    rig.Load(rig.PathOf("run.DTA"));

    ASSERT_EQ(rig.files.Dialogs.size(), 2u);
    EXPECT_FALSE(rig.files.Dialogs[1].Save);
    EXPECT_EQ(rig.files.Dialogs[1].Filter, "データファイル (*.DTA)|*.DTA");
    EXPECT_EQ(rig.files.Dialogs[1].InitialName, "*.DTA");
    EXPECT_EQ(rig.Item("ComboBox1"), "62.5ksps");
    EXPECT_EQ(rig.Item("ComboBox2"), "100");
    EXPECT_EQ(rig.Item("ComboBox3"), "CH0 + CH1");
    EXPECT_TRUE(rig.Find<QRadioButton>("Sinc5_RB")->isChecked());
    EXPECT_FALSE(rig.Find<QRadioButton>("Sinc3_RB")->isChecked());
    QStringList afterLoad = rig.Texts();
    EXPECT_EQ(afterLoad.takeFirst(), "データファイル読み込みました");
    EXPECT_EQ(afterLoad, afterRun.mid(1)) << "statistics and axes as after the run";
    EXPECT_EQ(rig.window->windowTitle(), "KORVADEX / v2.00 : " + rig.PathOf("run.DTA"));
    rig.Bar().Clicked();
    EXPECT_EQ(rig.Panel(2), ch1Statistics);
    EXPECT_TRUE(rig.Unlocked());
}

TEST(Load, Ch1FileAfterADualRunShowsOnlyCh1)
{
    FileRig rig;
    rig.Run(1);
    rig.Save(rig.PathOf("ch1"));
    const QString ch1Statistics = rig.Panel(2);
    rig.Run(2);
    rig.Load(rig.PathOf("ch1.DTA"));
    EXPECT_EQ(rig.Panel(2), ch1Statistics);
    EXPECT_EQ(rig.Item("ComboBox3"), "CH1 (Ain2-Ain3)");
    rig.Bar().Clicked();
    EXPECT_EQ(rig.Panel(2), ch1Statistics) << "one channel: clicks change nothing";
    rig.Save(rig.PathOf("again"));
    EXPECT_FALSE(rig.Contents(rig.PathOf("again.DTA")).contains(",")) << "saved as one column";
}

TEST(Load, ThenStartUsesTheLoadedSettings)
{
    FileRig rig;
    rig.Write(rig.PathOf("a.DTA"),
              FileOf("spsSel:12\r\nDataCountSel:1\r\nCHSel:1\r\nGainSel:0\r\nfSinc5:1\r\nfBUF_ON:0\r\n",
                     "8388608\r\n8388610\r\n"));
    rig.Load(rig.PathOf("a.DTA"));
    ASSERT_TRUE(rig.messages.Boxes.empty());
    rig.Press();
    EXPECT_EQ(rig.TakeCommands(), (std::vector<std::string>{"?", "U?", "V?", "S5", "FC", "A1000C8"}));
}

TEST(Load, WrongFirstLineShowsTheFileErrorAndTheEmptyPlotAndDropsTheData)
{
    FileRig rig;
    rig.Run(0);
    rig.Save(rig.PathOf("good"));
    rig.Write(rig.PathOf("bad.DTA"), "AD7175_DataFile\r\n");
    rig.Load(rig.PathOf("bad.DTA"));
    EXPECT_EQ(rig.OnlyBox(), "データファイルの内容が正しくありませんでした");
    EXPECT_EQ(rig.window->windowTitle(), "KORVADEX / v2.00");
    EXPECT_EQ(rig.Panel(2), "");
    EXPECT_EQ(rig.Label("Label1"), "8388608");
    EXPECT_EQ(rig.Label("Label16"), "1000");
    EXPECT_TRUE(rig.Unlocked());
    rig.Save(rig.PathOf("after"));
    EXPECT_EQ(rig.messages.Boxes.back().Text, "データがありません");
}

TEST(Load, FileBrokenInsideItsDataLeavesNoPartOfIt)
{
    FileRig rig;
    rig.Run(0);
    rig.Write(rig.PathOf("broken.DTA"), FileOf(Ch0Settings, "1\r\n2\r\n3\r\nthree\r\n"));
    rig.Load(rig.PathOf("broken.DTA"));
    EXPECT_EQ(rig.messages.Boxes.back().Text, "データファイルの内容が正しくありませんでした");
    rig.Bar().Clicked();
    rig.Find<QAction>("MenuY_Volt")->trigger();
    EXPECT_EQ(rig.Panel(2), "") << "no statistics of the partial data";
    EXPECT_EQ(rig.Label("Label1"), "14.90") << "the empty plot";
    rig.Save(rig.PathOf("partial"));
    EXPECT_EQ(rig.messages.Boxes.back().Text, "データがありません");
    EXPECT_FALSE(QFile::exists(rig.PathOf("partial.DTA")));
}

class OutOfRangeFile : public testing::TestWithParam<const char*> {};

TEST_P(OutOfRangeFile, IsRefusedWithTheFileError)
{
    FileRig rig;
    rig.Write(rig.PathOf("range.DTA"), FileOf(GetParam(), "8388608\r\n8388609\r\n"));
    rig.Load(rig.PathOf("range.DTA"));
    EXPECT_EQ(rig.OnlyBox(), "データファイルの内容が正しくありませんでした");
    EXPECT_EQ(rig.Item("ComboBox1"), "100sps") << "the lists keep their items";
    EXPECT_EQ(rig.Item("ComboBox3"), "CH0 (Ain0-Ain1)");
    rig.Save(rig.PathOf("none"));
    EXPECT_EQ(rig.messages.Boxes.back().Text, "データがありません");
}

INSTANTIATE_TEST_SUITE_P(
    Settings, OutOfRangeFile,
    testing::Values("spsSel:17\r\nDataCountSel:0\r\nCHSel:0\r\nGainSel:0\r\nfSinc5:0\r\nfBUF_ON:0\r\n",
                    "spsSel:-1\r\nDataCountSel:0\r\nCHSel:0\r\nGainSel:0\r\nfSinc5:0\r\nfBUF_ON:0\r\n",
                    "spsSel:5\r\nDataCountSel:10\r\nCHSel:0\r\nGainSel:0\r\nfSinc5:0\r\nfBUF_ON:0\r\n",
                    "spsSel:5\r\nDataCountSel:-1\r\nCHSel:0\r\nGainSel:0\r\nfSinc5:0\r\nfBUF_ON:0\r\n",
                    "spsSel:5\r\nDataCountSel:0\r\nCHSel:3\r\nGainSel:0\r\nfSinc5:0\r\nfBUF_ON:0\r\n",
                    "spsSel:5\r\nDataCountSel:0\r\nCHSel:-1\r\nGainSel:0\r\nfSinc5:0\r\nfBUF_ON:0\r\n"));

TEST(Load, FileWithoutSamplesIsRefused)
{
    FileRig rig;
    rig.Write(rig.PathOf("empty.DTA"), FileOf(Ch0Settings, ""));
    rig.Load(rig.PathOf("empty.DTA"));
    EXPECT_EQ(rig.OnlyBox(), "データファイルの内容が正しくありませんでした");
}

TEST(Load, CancelledDialogChangesNothing)
{
    FileRig rig;
    rig.Run(0);
    const QStringList before = rig.Texts();
    rig.Load(QString());
    EXPECT_EQ(rig.Texts(), before);
    EXPECT_TRUE(rig.messages.Boxes.empty());
}

} // namespace
