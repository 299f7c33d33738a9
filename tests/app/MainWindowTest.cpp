#include "WindowRig.h"

#include "FormMainProbe.h"
#include "GuardName.h"
#include "GuardedApplication.h"
#include "QtPaintBox.h"
#include "SingleInstance.h"
#include "Startup.h"

#include <QAction>
#include <QComboBox>
#include <QFontInfo>
#include <QFontMetrics>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QTemporaryDir>
#include <QTimer>

#include <stdexcept>

namespace {

QStringList Items(const QComboBox* list)
{
    QStringList items;
    for (int i = 0; i < list->count(); ++i)
        items << list->itemText(i);
    return items;
}

QStringList ItemTexts(const QMenu* menu)
{
    QStringList texts;
    for (const QAction* item : menu->actions())
        texts << item->text();
    return texts;
}

TEST(MainWindow, FreshStartShowsTheDefaults)
{
    WindowRig rig;
    EXPECT_EQ(rig.Find<QComboBox>("ComboBox1")->currentText(), "100sps");
    EXPECT_EQ(rig.Find<QComboBox>("ComboBox2")->currentText(), "1000");
    EXPECT_EQ(rig.Find<QComboBox>("ComboBox3")->currentText(), "CH0 (Ain0-Ain1)");
    EXPECT_TRUE(rig.Find<QRadioButton>("Sinc3_RB")->isChecked());
    EXPECT_FALSE(rig.Find<QRadioButton>("Sinc5_RB")->isChecked());
    EXPECT_EQ(rig.window->windowTitle(), "KORVADEX / v2.00");
    EXPECT_EQ(rig.Find<QPushButton>("MeasureBtn")->text(), "測定開始");
    EXPECT_FALSE(rig.Find<QAction>("MenuY_Volt")->isChecked());
    for (int panel = 0; panel < 3; ++panel) {
        EXPECT_EQ(rig.Panel(panel), "");
        EXPECT_EQ(rig.Bar().PanelWidth(panel), 50);
    }
    EXPECT_TRUE(rig.messages.Boxes.empty());
}

TEST(MainWindow, FirstIdlePassDrawsTheEmptyPlotAndThenTheIdleHandlerStops)
{
    WindowRig rig;
    EXPECT_EQ(rig.Label("Label11"), "8388608");
    EXPECT_EQ(rig.Label("Label15"), "Label15");
    EXPECT_EQ(rig.Label("Label16"), "Label16");

    rig.Settle();

    for (int i = 0; i < 11; ++i) {
        const QByteArray name = "Label" + QByteArray::number(i + 1);
        EXPECT_EQ(rig.Label(name.constData()), QString::number(8388608 - 10 * i)) << name.constData();
    }
    EXPECT_EQ(rig.Label("Label15"), "1");
    EXPECT_EQ(rig.Label("Label16"), "1000");
    EXPECT_FALSE(FormMainProbe(*rig.window).IdleScheduled()) << "an idle window must not keep polling";
    EXPECT_EQ(rig.driver.Calls, 0);
}

TEST(MainWindow, ShowingTheWindowLaysOutTheStatusBarOnceAndGoesIdle)
{
    WindowRig rig;
    rig.window->show();
    rig.Settle();
    EXPECT_EQ(rig.Bar().geometry(), QRect(0, 438, 760, 20));
    EXPECT_FALSE(FormMainProbe(*rig.window).IdleScheduled());

    const QtPaintBox* box = rig.Find<QtPaintBox>("PaintBox1");
    EXPECT_EQ(box->Picture().pixel(0, 0), 0u) << "the outer ring shows the window behind";
    EXPECT_EQ(box->Picture().pixel(5, 5), 0xFFFFFFFFu) << "white plot background";
}

TEST(MainWindow, ControlsStandWhereTheLayoutPutsThem)
{
    WindowRig rig;
    const struct {
        const char* name;
        QRect geometry;
    } controls[] = {
        {"PaintBox1", {72, 24, 528, 372}},  {"ComboBox1", {624, 40, 113, 20}},  {"ComboBox2", {624, 84, 113, 20}},
        {"ComboBox3", {624, 128, 113, 20}}, {"Panel2", {624, 184, 113, 52}},    {"Sinc3_RB", {8, 8, 89, 17}},
        {"Sinc5_RB", {8, 29, 97, 17}},      {"MeasureBtn", {624, 345, 113, 33}}, {"QuitBtn", {624, 379, 113, 33}},
        {"StatusBar1", {0, 433, 760, 25}},
    };
    for (const auto& control : controls)
        EXPECT_EQ(rig.Find<QWidget>(control.name)->geometry(), control.geometry) << control.name;

    // Labels size themselves to their text from their top-left corner.
    const struct {
        const char* name;
        QPoint topLeft;
        const char* text;
    } labels[] = {
        {"Label1", {16, 23}, "8388608"},   {"Label6", {16, 207}, "8388608"},  {"Label11", {16, 398}, "8388608"},
        {"Label15", {72, 406}, "Label15"}, {"Label16", {560, 406}, "Label16"}, {"Label14", {632, 24}, "データレート"},
        {"Label12", {632, 68}, "データ数"}, {"Label13", {632, 112}, "測定 CH"},
    };
    for (const auto& label : labels) {
        EXPECT_EQ(rig.Find<QWidget>(label.name)->pos(), label.topLeft) << label.name;
        EXPECT_EQ(rig.Label(label.name), QString::fromUtf8(label.text)) << label.name;
    }
}

TEST(MainWindow, ListsOfferExactlyTheirItemsAndCannotBeTypedInto)
{
    WindowRig rig;
    const auto* rates = rig.Find<QComboBox>("ComboBox1");
    EXPECT_EQ(Items(rates), QStringList({"5sps", "10sps", "20sps", "49.96sps/50sps", "59.92sps/60sps", "100sps",
                                         "200sps", "500sps", "1ksps", "2.5ksps", "5ksps", "10ksps", "25ksps",
                                         "31.25ksps", "50ksps", "62.5ksps", "125ksps"}));
    const auto* counts = rig.Find<QComboBox>("ComboBox2");
    EXPECT_EQ(Items(counts),
              QStringList({"100", "200", "500", "1000", "2000", "5000", "10000", "20000", "50000", "100000"}));
    const auto* channels = rig.Find<QComboBox>("ComboBox3");
    EXPECT_EQ(Items(channels), QStringList({"CH0 (Ain0-Ain1)", "CH1 (Ain2-Ain3)", "CH0 + CH1"}));
    for (const QComboBox* list : {rates, counts, channels})
        EXPECT_FALSE(list->isEditable()) << list->objectName().toStdString();
}

TEST(MainWindow, MenuBarHoldsTheThreeMenusAndTheirItems)
{
    WindowRig rig;
    QStringList titles;
    for (const QAction* menu : rig.window->menuBar()->actions())
        titles << menu->text();
    EXPECT_EQ(titles, QStringList({"ファイル(&F)", "データ(&D)", "Y軸表示"}));
    EXPECT_EQ(ItemTexts(rig.Find<QMenu>("File1")), QStringList({"ボード選択(&B)...", "ログを開く(&L)...", "終了(&X)"}));
    EXPECT_EQ(ItemTexts(rig.Find<QMenu>("Data1")),
              QStringList({"保存(&S)", "読込み(&O)", "---", "クリア", "", "CSV書き出し(&E)...", "ノイズ解析(&N)...",
                           "レポート保存(&R)..."}));
    EXPECT_EQ(ItemTexts(rig.Find<QMenu>("MenuY")), QStringList({"電圧値", "全体表示"}));
    EXPECT_TRUE(rig.Find<QAction>("MenuY_Volt")->isCheckable());
}

TEST(MainWindow, WindowHasAFixedSizeNoMinimiseOrMaximiseBoxAndOpensCentred)
{
    WindowRig rig;
    TFormMain& window = *rig.window;
    EXPECT_EQ(window.centralWidget()->size(), QSize(760, 458));
    EXPECT_EQ(window.minimumSize(), window.maximumSize()) << "not resizable by dragging";
    const Qt::WindowFlags flags = window.windowFlags();
    EXPECT_FALSE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);

    // The outer frame is centred; the offscreen platform gives the window a
    // frame of its own, as a window manager would.
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const auto expectCentred = [&](const char* when) {
        const QRect frame = window.frameGeometry();
        ASSERT_GT(frame.width(), window.width()) << when;
        EXPECT_EQ(frame.topLeft(), QPoint((screen.width() - frame.width()) / 2, (screen.height() - frame.height()) / 2))
            << when;
    };
    expectCentred("made");
    window.show();
    QApplication::processEvents();
    expectCentred("shown");
    EXPECT_FALSE(window.windowIcon().isNull());
    EXPECT_FALSE(rig.Bar().isSizeGripEnabled());
}

TEST(MainWindow, TextsUseAProportionalGothicFontWithJapaneseGlyphs)
{
    WindowRig rig;
    const QFont font = rig.window->font();
    EXPECT_EQ(font.families().value(0), "ＭＳ Ｐゴシック");
    EXPECT_EQ(font.pixelSize(), 12);
    EXPECT_EQ(rig.Find<QWidget>("Label12")->font().pixelSize(), 13);
    EXPECT_EQ(rig.Find<QWidget>("Label13")->font().pixelSize(), 13);
    const QFontMetrics metrics(font);
    for (const QChar c : QStringLiteral("測定開始データ数"))
        EXPECT_TRUE(metrics.inFont(c)) << "no glyph for U+" << std::hex << c.unicode() << " in "
                                       << QFontInfo(font).family().toStdString();
}

// Code captions start 50 pixels left of the plot, whatever their width.
TEST(MainWindow, CodeCaptionsEndBeforeThePlotEvenAtTheirWidest)
{
    WindowRig rig;
    const int plotLeft = rig.Find<QWidget>("PaintBox1")->x();
    const auto expectClear = [&](const char* view) {
        for (int i = 1; i <= 11; ++i) {
            const QWidget* label = rig.Find<QWidget>(QStringLiteral("Label%1").arg(i).toLatin1().constData());
            EXPECT_EQ(label->x(), plotLeft - 50) << view;
            EXPECT_LT(label->geometry().right(), plotLeft) << view << ": Label" << i << " is " << label->width()
                                                           << " pixels wide";
        }
    };
    rig.Settle();
    expectClear("empty plot");
    FormMainProbe(*rig.window).EndRunWith(ModeCh0, {0, 16777215}, {});
    ASSERT_EQ(rig.Label("Label1"), "19000000");
    ASSERT_EQ(rig.Label("Label11"), "-1000000");
    expectClear("the whole code range");
}

TEST(MainWindow, EveryListItemIsShownWholeInTheClosedList)
{
    WindowRig rig;
    for (const char* name : {"ComboBox1", "ComboBox2", "ComboBox3"}) {
        const auto* list = rig.Find<QComboBox>(name);
        QStyleOptionComboBox option;
        option.initFrom(list);
        const QRect field =
            list->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, list);
        // The label keeps a pixel free on either side of the field.
        for (const QString& item : Items(list))
            EXPECT_LE(list->fontMetrics().horizontalAdvance(item), field.width() - 2) << name << " " << item.toStdString();
    }
}

TEST(MainWindow, ChangingListsAndFilterButtonsSendsNothingAndShowsNothing)
{
    WindowRig rig;
    rig.Settle();
    rig.Find<QComboBox>("ComboBox1")->setCurrentIndex(16);
    rig.Find<QComboBox>("ComboBox2")->setCurrentIndex(9);
    rig.Find<QComboBox>("ComboBox3")->setCurrentIndex(2);
    rig.Find<QRadioButton>("Sinc5_RB")->click();
    rig.Settle();
    EXPECT_TRUE(rig.Find<QRadioButton>("Sinc5_RB")->isChecked());
    EXPECT_FALSE(rig.Find<QRadioButton>("Sinc3_RB")->isChecked()) << "the filter buttons exclude each other";
    EXPECT_EQ(rig.driver.Calls, 0);
    EXPECT_TRUE(rig.messages.Boxes.empty());
    for (int panel = 0; panel < 3; ++panel)
        EXPECT_EQ(rig.Panel(panel), "");
}

TEST(MainWindow, QuitButtonAndExitItemCloseTheWindow)
{
    WindowRig quitRig;
    quitRig.window->show();
    quitRig.Find<QPushButton>("QuitBtn")->click();
    EXPECT_FALSE(quitRig.window->isVisible());

    WindowRig exitRig;
    exitRig.window->show();
    exitRig.Find<QAction>("Exit1")->trigger();
    EXPECT_FALSE(exitRig.window->isVisible());
}

// Each of the five creations failing in turn.
class FailedCreation : public testing::TestWithParam<const char*> {};

TEST_P(FailedCreation, ShowsTheFatalMemoryBoxMakesNothingAfterAndEndsTheProgram)
{
    const QString component = QString::fromLatin1(GetParam());
    const QStringList order = {"myMessage", "myStatus", "AD7175", "FILE", "TGraph_2CH"};
    FailingFactory factory(component);
    WindowRig rig(&factory);

    EXPECT_FALSE(rig.window->ComponentsCreated());
    EXPECT_EQ(factory.Asked, order.mid(0, order.indexOf(component) + 1));
    ASSERT_EQ(rig.messages.Boxes.size(), 1u);
    EXPECT_EQ(rig.messages.Boxes[0].Caption, "KORVADEX Board");
    const QString word = component == "myMessage" ? QStringLiteral("Z_Message") : component;
    EXPECT_EQ(rig.messages.Boxes[0].Text, "致命的なメモリエラーです:" + word);
    EXPECT_FALSE(rig.window->isVisible());
    EXPECT_FALSE(FormMainProbe(*rig.window).IdleScheduled());
}

TEST_P(FailedCreation, ProgramEndsWithoutRunningTheEventLoop)
{
    FailingFactory factory(QString::fromLatin1(GetParam()));
    const QTemporaryDir guardFolder;
    WindowRig rig; // only for its driver, boxes and dialogs
    const StartupServices services{
        GuardNameFor(guardFolder.path()), guardFolder.path(), rig.messages,
        {rig.driver, rig.messages, rig.confirm, rig.files, factory}};
    // Were the loop to run, nothing would end it and the test would hang.
    EXPECT_EQ(RunProgram(*GuardedApplication::Instance(), services), 0);
    EXPECT_EQ(rig.messages.Boxes.size(), 1u);
    EXPECT_EQ(QCoreApplication::applicationName(), "KORVADEX") << "the program's title";
}

TEST(Startup, ExceptionFromAnEventHandlerIsShownInTheStartupBoxAndTheProgramGoesOn)
{
    const QTemporaryDir guardFolder;
    WindowRig rig; // only for its driver, boxes and dialogs
    const StartupServices services{GuardNameFor(guardFolder.path()), guardFolder.path(), rig.messages,
                                   {rig.driver, rig.messages, rig.confirm, rig.files, rig.components}};
    // Once the program's window is up, a handler throws; the next tick closes
    // the window, which it reaches only if the program went on.
    QTimer ticks;
    int tick = 0;
    QObject::connect(&ticks, &QTimer::timeout, [&tick] {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (!qobject_cast<TFormMain*>(window) || !window->isVisible())
                continue;
            if (++tick == 1)
                throw std::runtime_error("handler failed");
            window->close();
        }
    });
    ticks.start(10);
    EXPECT_EQ(RunProgram(*GuardedApplication::Instance(), services), 0);
    EXPECT_EQ(tick, 2);
    ASSERT_EQ(rig.messages.Boxes.size(), 1u);
    EXPECT_EQ(rig.messages.Boxes[0].Caption, "KORVADEX");
    EXPECT_EQ(rig.messages.Boxes[0].Text, "handler failed");
}

INSTANTIATE_TEST_SUITE_P(EachComponent, FailedCreation,
                         testing::Values("myMessage", "myStatus", "AD7175", "FILE", "TGraph_2CH"));

} // namespace
