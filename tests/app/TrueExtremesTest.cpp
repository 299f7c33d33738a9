#include "MeasureRig.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

namespace {

struct OddFile {
    const char* name;
    const char* data;       // CH0 codes, one a line
    const char* extremes;   // as the window must write them
};

class TrueExtremes : public testing::TestWithParam<OddFile> {};

// Files edited by hand, with codes the converter never sends: the window's
// third panel, in both units, is what the companion prints for the same
// file, and its extremes are the data's own, not the graph's clamped scan.
TEST_P(TrueExtremes, WindowAndCompanionAgree)
{
    const OddFile& c = GetParam();
    MeasureRig rig;
    QTemporaryDir folder;
    const QString path = QDir(folder.path()).filePath(QStringLiteral("odd.DTA"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray("AD7175_DataFile:\r\nM:\r\nspsSel:5\r\nDataCountSel:0\r\nCHSel:0\r\nGainSel:0\r\n"
                          "fSinc5:0\r\nfBUF_ON:0\r\nMEND:\r\nD:\r\n")
               + c.data + "DEND:\r\n");
    file.close();

    rig.files.Paths << path;
    rig.Find<QAction>("Load1")->trigger();
    ASSERT_TRUE(rig.messages.Boxes.empty()) << rig.OnlyBox().toStdString();
    const QString digits = rig.Panel(2);
    rig.Find<QAction>("MenuY_Volt")->trigger();
    const QString microvolts = rig.Panel(2);
    EXPECT_TRUE(digits.startsWith(QString::fromUtf8(c.extremes))) << digits.toStdString();

    QProcess cli;
    cli.start(QStringLiteral(KORVADEX_CLI), {QStringLiteral("info"), path});
    ASSERT_TRUE(cli.waitForFinished(60000));
    const QStringList printed = QString::fromUtf8(cli.readAllStandardOutput()).split(QLatin1Char('\n'));
    EXPECT_TRUE(printed.contains(digits)) << printed.join('\n').toStdString();
    EXPECT_TRUE(printed.contains(microvolts)) << microvolts.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Statistics, TrueExtremes,
    testing::Values(OddFile{"NegativeThroughout", "-300\r\n-100\r\n-200\r\n", "CH0 : 最大値：-100 / 最小値：-300 / "},
                    OddFile{"AboveFullScale", "16777300\r\n16777500\r\n16777400\r\n",
                            "CH0 : 最大値：16777500 / 最小値：16777300 / "}),
    [](const testing::TestParamInfo<OddFile>& info) { return std::string(info.param.name); });

} // namespace
