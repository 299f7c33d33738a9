#include "Mystatus.h"

#include <gtest/gtest.h>

#include <array>
#include <functional>

namespace {

// Three panels that measure every character as PixelsPerChar pixels wide.
class FakePanels : public StatusPanels {
public:
    void SetText(int panel, const QString& text) override { Texts.at(static_cast<std::size_t>(panel)) = text; }
    void SetWidth(int panel, int width) override { Widths.at(static_cast<std::size_t>(panel)) = width; }
    int TextWidth(const QString& text) const override { return static_cast<int>(text.size()) * PixelsPerChar; }

    int PixelsPerChar = 1;
    std::array<QString, 3> Texts{"untouched", "untouched", "untouched"};
    std::array<int, 3> Widths{-1, -1, -1};
};

class Mystatus : public ::testing::Test {
protected:
    FakePanels panels;
    TmyStatus status{panels, "KORVADEX Board", 2};
};

struct Shown {
    std::function<void(TmyStatus&)> show;
    int panel;
    QString text;
};

TEST_F(Mystatus, PlacesEachTextInItsOwnPanel)
{
    const Shown cases[] = {
        {[](TmyStatus& s) { s.ShowBoard("KORVADEX", "V1.02"); }, 0, "KORVADEX / V1.02"},
        {[](TmyStatus& s) { s.ShowNotFound(); }, 0, QStringLiteral("KORVADEX Board が見つかりませんでした")},
        {[](TmyStatus& s) { s.ShowNoResponse(); }, 0, QStringLiteral("KORVADEX Board 応答しませんでした")},
        {[](TmyStatus& s) { s.ShowBoardError(); }, 0, QStringLiteral("KORVADEX Board がエラーです")},
        {[](TmyStatus& s) { s.ShowMeasuring(); }, 1, QStringLiteral("計測中です")},
        {[](TmyStatus& s) { s.ShowMeasureEnd(); }, 1, QStringLiteral("計測終了しました")},
        {[](TmyStatus& s) { s.ShowMeasureStop(); }, 1, QStringLiteral("計測中止しました")},
        {[](TmyStatus& s) { s.ShowFileLoaded(); }, 1, QStringLiteral("データファイル読み込みました")},
        {[](TmyStatus& s) { s.ShowFileSaved(); }, 1, QStringLiteral("データファイルを保存しました")},
        {[](TmyStatus& s) { s.ShowStarting(); }, 2, QStringLiteral("測定開始処理中です。。。")},
        {[](TmyStatus& s) { s.ShowMeasureError(); }, 2, QStringLiteral("計測エラーで終了")},
        {[](TmyStatus& s) { s.ClearInfo(); }, 2, QString()},
        {[](TmyStatus& s) { s.ShowPoint1CH(250, -8); }, 2, QStringLiteral("データ番号：250 / AD変換値：-8")},
        {[](TmyStatus& s) { s.ShowPoint2CH(250, 8388610, 8388597); }, 2,
         QStringLiteral("データ番号：250 / AD変換値：8388610 / 8388597")},
    };
    for (const auto& c : cases) {
        FakePanels fresh;
        TmyStatus s(fresh, "KORVADEX Board", 2);
        c.show(s);
        for (int panel = 0; panel < 3; ++panel) {
            const auto i = static_cast<std::size_t>(panel);
            EXPECT_EQ(fresh.Texts[i], panel == c.panel ? c.text : "untouched") << c.text.toStdString();
            EXPECT_EQ(fresh.Widths[i], panel == c.panel ? 105 : -1) << c.text.toStdString();
        }
    }
}

TEST_F(Mystatus, FitsThePanelToItsTextButNeverBelow105)
{
    status.SetPanelText(QString(100, 'w'), 1);
    EXPECT_EQ(panels.Widths[1], 105);
    status.SetPanelText(QString(101, 'w'), 1);
    EXPECT_EQ(panels.Widths[1], 106);
    panels.PixelsPerChar = 12;
    status.ShowMeasuring();
    EXPECT_EQ(panels.Widths[1], 105) << "five characters, 60 pixels";
    status.ShowFileSaved();
    EXPECT_EQ(panels.Widths[1], 14 * 12 + 5);
}

TEST_F(Mystatus, IgnoresPanelsBeyondTheHighest)
{
    status.SetPanelText("x", 3);
    status.SetPanelText("x", -1);
    EXPECT_EQ(panels.Texts, (std::array<QString, 3>{"untouched", "untouched", "untouched"}));
    EXPECT_EQ(panels.Widths, (std::array<int, 3>{-1, -1, -1}));
}

TEST_F(Mystatus, ShowsCodeStatisticsWithDecimalsChosenByTheDeviation)
{
    status.ShowStatDigit(8388620, 8388590, 0, 9.996f);
    EXPECT_EQ(panels.Texts[2],
              QStringLiteral("CH0 : 最大値：8388620 / 最小値：8388590 / pp値：30 digit / 標準偏差：10.00 digit"));
    status.ShowStatDigit(8388620, 8388590, 1, 10.0f);
    EXPECT_EQ(panels.Texts[2],
              QStringLiteral("CH1 : 最大値：8388620 / 最小値：8388590 / pp値：30 digit / 標準偏差：10.0 digit"));
    status.ShowStatDigit(2147483647, -2147483647 - 1, 0, 0.0f);
    EXPECT_TRUE(panels.Texts[2].contains(QStringLiteral("pp値：4294967295 digit")));
}

TEST_F(Mystatus, ShowsMicrovoltStatisticsWithOnePatternForAllFour)
{
    status.ShowStatVolt(1, 2.5f, -3.2f, 12.345f);
    EXPECT_EQ(panels.Texts[2],
              QStringLiteral("CH1 : 最大値：12.35[uV] / 最小値：-3.20[uV] / pp値：15.55[uV] / 標準偏差：2.50[uV]"));
    status.ShowStatVolt(0, 100.0f, -50.4f, 250.6f);
    EXPECT_EQ(panels.Texts[2],
              QStringLiteral("CH0 : 最大値：251[uV] / 最小値：-50[uV] / pp値：301[uV] / 標準偏差：100[uV]"));
    status.ShowStatVolt(0, 99.9f, -50.44f, 250.66f);
    EXPECT_EQ(panels.Texts[2],
              QStringLiteral("CH0 : 最大値：250.7[uV] / 最小値：-50.4[uV] / pp値：301.1[uV] / 標準偏差：99.9[uV]"));
}

} // namespace
