#include "WindowRig.h"

#include "AnalysisWindow.h"
#include "ChartWords.h"
#include "FormMainProbe.h"
#include "LogWindow.h"
#include "RecordDialog.h"
#include "Mystatus.h"
#include "QtStatusBar.h"
#include "UiLanguage.h"

#include <QAction>
#include <QFontMetrics>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTranslator>

#include <functional>

namespace {

bool HasJapanese(const QString& text)
{
    for (const QChar c : text)
        if ((c.unicode() >= 0x3000 && c.unicode() <= 0x9FFF) || (c.unicode() >= 0xFF00 && c.unicode() <= 0xFFEF))
            return true;
    return false;
}

// The window with the English catalogue in front of its texts, as a start
// on an English desktop makes it.
class EnglishWindow : public testing::Test {
protected:
    void SetUp() override
    {
        catalogue = LoadEnglishCatalogue();
        ASSERT_NE(catalogue, nullptr);
        ASSERT_TRUE(QCoreApplication::installTranslator(catalogue.get()));
    }
    void TearDown() override
    {
        if (catalogue)
            QCoreApplication::removeTranslator(catalogue.get());
    }

    std::unique_ptr<QTranslator> catalogue;
};

TEST_F(EnglishWindow, EveryCaptionIsEnglishAndShownWhole)
{
    WindowRig rig;
    rig.window->show();
    rig.Settle();
    EXPECT_EQ(rig.Find<QPushButton>("MeasureBtn")->text(), "Start");
    EXPECT_EQ(rig.Label("Label14"), "Data rate");

    for (const QLabel* label : rig.Find<QWidget>("ClientArea")->findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) {
        EXPECT_FALSE(HasJapanese(label->text())) << label->text().toStdString();
        EXPECT_GE(label->width(), label->fontMetrics().horizontalAdvance(label->text())) << label->text().toStdString();
        EXPECT_LE(label->geometry().right(), TFormMain::ClientWidth) << label->text().toStdString();
    }
    // The list captions end above their lists.
    for (const auto& [label, list] : {std::pair{"Label14", "ComboBox1"}, {"Label12", "ComboBox2"}, {"Label13", "ComboBox3"}})
        EXPECT_LT(rig.Find<QWidget>(label)->geometry().bottom(), rig.Find<QWidget>(list)->y()) << label;
    for (const QAbstractButton* button : rig.window->findChildren<QAbstractButton*>()) {
        EXPECT_FALSE(HasJapanese(button->text())) << button->text().toStdString();
        EXPECT_LE(button->sizeHint().width(), button->width()) << button->text().toStdString();
    }
    // Every menu and item in English, and the menu bar within the window.
    QMenuBar* bar = rig.window->menuBar();
    EXPECT_LE(bar->sizeHint().width(), rig.window->width());
    for (const QAction* menu : bar->actions()) {
        EXPECT_FALSE(HasJapanese(menu->text())) << menu->text().toStdString();
        for (const QAction* item : menu->menu()->actions())
            EXPECT_FALSE(HasJapanese(item->text())) << item->text().toStdString();
    }
}

TEST_F(EnglishWindow, BoxesAndTheAnalysisWindowSpeakEnglish)
{
    WindowRig rig;
    rig.Find<QAction>("Save1")->trigger();
    EXPECT_EQ(rig.OnlyBox(), "No data");

    FormMainProbe(*rig.window).EndRunWith(ModeCh0, {8388600, 8388610, 8388605}, {});
    rig.Find<QAction>("NoiseAnalysis")->trigger();
    const auto* analysis = rig.window->findChild<AnalysisWindow*>();
    ASSERT_NE(analysis, nullptr);
    EXPECT_EQ(analysis->windowTitle(), "Noise analysis - KORVADEX");
    for (const char* name : {"NoiseTable", "SpurTable"}) {
        const auto* table = analysis->findChild<QTableWidget*>(QString::fromLatin1(name));
        ASSERT_NE(table, nullptr) << name;
        for (int column = 0; column < table->columnCount(); ++column)
            EXPECT_FALSE(HasJapanese(table->horizontalHeaderItem(column)->text())) << name << " " << column;
    }
    EXPECT_EQ(ChartWords::Window().Trace, "%1 trace");
}

// The record dialog and the log window following a recording fit a 1024 ×
// 768 screen (less its title bar and task bar) in English and in Japanese,
// each caption whole, and speak English in English.
TEST_F(EnglishWindow, TheRecordDialogAndTheRecordingLogWindowFitASmallScreen)
{
    for (const bool english : {true, false}) {
        SCOPED_TRACE(english);
        if (!english)
            QCoreApplication::removeTranslator(catalogue.get());
        RecordDialog dialog{RecordRequest{}};
        LogWindow view;
        view.FollowRecording(QStringLiteral("recording.h5"));
        for (QWidget* window : std::initializer_list<QWidget*>{&dialog, &view}) {
            window->show();
            window->adjustSize();
            EXPECT_LE(window->minimumSizeHint().width(), 1024) << window->objectName().toStdString();
            EXPECT_LE(window->sizeHint().height(), 768 - 80) << window->objectName().toStdString();
            for (const QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
                EXPECT_TRUE(!english || !HasJapanese(button->text())) << button->text().toStdString();
                EXPECT_LE(button->sizeHint().width(), button->width()) << button->text().toStdString();
            }
            for (const QLabel* label : window->findChildren<QLabel*>())
                EXPECT_TRUE(!english || !HasJapanese(label->text())) << label->text().toStdString();
        }
    }
}

// Every status text an operator can meet, each at its widest numbers: the
// panel that fits it in English is no wider than the one that fits it in
// Japanese, so the three panels share the bar as they do in Japanese.
TEST_F(EnglishWindow, StatusTextsNeedNoWiderPanelsThanTheJapanese)
{
    QWidget parent;
    QtStatusBar bar(&parent, QStringLiteral("StatusBar1"), QRect(0, 433, TFormMain::ClientWidth, 25));
    TmyStatus status(bar, QStringLiteral("KORVADEX Board"), 2);
    const std::vector<std::pair<int, std::function<void()>>> texts = {
        {0, [&] { status.ShowNotFound(); }},
        {0, [&] { status.ShowNoResponse(); }},
        {0, [&] { status.ShowBoardError(); }},
        {1, [&] { status.ShowMeasuring(); }},
        {1, [&] { status.ShowMeasureEnd(); }},
        {1, [&] { status.ShowMeasureStop(); }},
        {1, [&] { status.ShowFileLoaded(); }},
        {1, [&] { status.ShowFileSaved(); }},
        {2, [&] { status.ShowStarting(); }},
        {2, [&] { status.ShowMeasureError(); }},
        {2, [&] { status.ShowPoint1CH(100000, 16777215); }},
        {2, [&] { status.ShowPoint2CH(100000, 16777215, 16777215); }},
        {2, [&] { status.ShowStatDigit(16777215, -16777215, 1, 99999.9f); }},
        {2, [&] { status.ShowStatVolt(1, 9999999.0f, -2500000.5f, 2500000.5f); }},
    };
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const auto& [panel, show] = texts[i];
        show();
        const QString english = bar.PanelText(panel);
        const int englishWidth = bar.PanelWidth(panel);
        QCoreApplication::removeTranslator(catalogue.get());
        show();
        const int japaneseWidth = bar.PanelWidth(panel);
        QCoreApplication::installTranslator(catalogue.get());
        EXPECT_FALSE(HasJapanese(english)) << english.toStdString();
        EXPECT_LE(englishWidth, japaneseWidth) << english.toStdString();
    }
}

} // namespace
