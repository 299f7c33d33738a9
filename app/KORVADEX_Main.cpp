#include "KORVADEX_Main.h"

#include "Ad7175.h"
#include "AnalysisWindow.h"
#include "LogWindow.h"
#include "BoardChooser.h"
#include "ChannelFigures.h"
#include "ComponentFactory.h"
#include "FileChooser.h"
#include "FittingFont.h"
#include "Graph_2ch.h"
#include "MeasureLists.h"
#include "Myfile.h"
#include "Mymessage.h"
#include "Mystatus.h"
#include "OverwriteQuestion.h"
#include "PlotNavigator.h"
#include "PlotReadout.h"
#include "QtAxisLabel.h"
#include "QtPaintBox.h"
#include "QtStatusBar.h"
#include "RecordRequest.h"
#include "WindowRecording.h"
#include "ReportAnalysis.h"
#include "RunFiles.h"
#include "WindowPlacement.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStandardPaths>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QWindow>

#include <algorithm>
#include <cstring>
#include <exception>
#include <limits>

namespace {

const char* const WindowTitle = "KORVADEX";
const char* const Version = "v2.00";
const char* const BoardCaption = "KORVADEX Board";
const char* const StartCaption = QT_TRANSLATE_NOOP("TFormMain", "測定開始");
const char* const StopCaption = QT_TRANSLATE_NOOP("TFormMain", "測定停止");
const char* const BoardModel = "KORVADEX";
const char* const SaveFilter = "Data files (*.DTA)|*.DTA";
const char* const OpenFilter = QT_TRANSLATE_NOOP("TFormMain", "データファイル (*.DTA)|*.DTA");
const char* const DataFileName = "*.DTA";
const char* const LogFilter = QT_TRANSLATE_NOOP("TFormMain", "ログ (*.h5 *.csv)|*.h5 *.csv");
const char* const DataFileExtension = ".DTA";
const char* const CsvFilter = "CSV (*.csv)|*.csv";
const char* const CsvFileName = "*.csv";
const char* const ReportFilter = "PDF (*.pdf)|*.pdf|PNG (*.png)|*.png";
const char* const ReportFileName = "*.pdf";
// What a report calls a run that was never saved.
const char* const UnsavedRunName = QT_TRANSLATE_NOOP("TFormMain", "未保存の測定データ");

// The path with the extension appended unless it already ends in one of them
// (in any case).
QString WithExtension(const QString& path, const QStringList& extensions)
{
    for (const QString& extension : extensions)
        if (path.endsWith(extension, Qt::CaseInsensitive))
            return path;
    return path + extensions.front();
}

constexpr int StatusBarHeight = 20;
// The client area has no border of its own inside the window frame.
constexpr int BorderWidth = 0;

constexpr int YLabelTops[11] = {23, 50, 83, 124, 166, 207, 249, 290, 330, 364, 398};

// During a run the graph follows block by block only up to this rate ("200sps").
constexpr std::int32_t HighestLiveRate = 6;
constexpr std::int32_t BlockSize = 100;
// A stopped run with fewer samples than this is dropped.
constexpr std::int32_t FewestKeptSamples = 10;

constexpr int DefaultRate = 5;    // "100sps"
constexpr int DefaultCount = 3;   // "1000"
constexpr int DefaultChannel = 0; // "CH0 (Ain0-Ain1)"

// The window's texts are Japanese in the source, and in the operator's
// language on screen.
QString Text(const char* source)
{
    return QCoreApplication::translate("TFormMain", source);
}

QFont WindowFont(int pixelSize)
{
    // The Windows font first; where it is missing, the IPA font has the same
    // proportional Gothic shapes.
    QFont font;
    font.setFamilies({QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("IPAPGothic")});
    font.setPixelSize(pixelSize);
    return font;
}

// Labels size themselves to their text, keeping their top-left corner.
QLabel* MakeLabel(QWidget* parent, const char* name, int left, int top, const char* text)
{
    auto* label = new QLabel(Text(text), parent);
    label->setObjectName(QString::fromLatin1(name));
    label->move(left, top);
    label->adjustSize();
    return label;
}

// The width a closed list shows its item in: the style's text field less the
// pixel the label keeps free on either side.
int ItemRoom(const QComboBox* list)
{
    QStyleOptionComboBox option;
    option.initFrom(list);
    option.editable = list->isEditable();
    option.frame = list->hasFrame();
    return list->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, list).width() - 2;
}

// The lists keep their place and width; where the longest of their items
// would be cut off, they share a font in which it fits.
void FitItems(std::initializer_list<QComboBox*> lists)
{
    QStringList texts;
    int room = std::numeric_limits<int>::max();
    for (const QComboBox* list : lists) {
        for (int i = 0; i < list->count(); ++i)
            texts << list->itemText(i);
        room = std::min(room, ItemRoom(list));
    }
    const QFont font = FittingFont((*lists.begin())->font(), room,
                                   [&texts](const QFontMetrics& metrics) { return WidestText(metrics, texts); });
    for (QComboBox* list : lists)
        list->setFont(font);
}

template <std::size_t N>
QComboBox* MakeList(QWidget* parent, const char* name, const QRect& geometry, const char* const (&items)[N])
{
    auto* list = new QComboBox(parent);
    list->setObjectName(QString::fromLatin1(name));
    list->setGeometry(geometry);
    // Selection only: an item is always selected, so the index is always valid.
    list->setEditable(false);
    for (const char* item : items)
        list->addItem(QString::fromUtf8(item));
    return list;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const QRect& geometry, const char* text)
{
    auto* button = new QPushButton(Text(text), parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(geometry);
    return button;
}

QRadioButton* MakeRadio(QWidget* parent, const char* name, const QRect& geometry, const char* text)
{
    auto* radio = new QRadioButton(QString::fromUtf8(text), parent);
    radio->setObjectName(QString::fromLatin1(name));
    radio->setGeometry(geometry);
    return radio;
}

// Creating a component fails by an exception, in practice memory exhaustion.
template <typename Create>
bool Succeeds(Create&& create)
{
    try {
        create();
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

QAction* MakeItem(QMenu* menu, const char* name, const char* text)
{
    QAction* item = menu->addAction(Text(text));
    item->setObjectName(QString::fromLatin1(name));
    return item;
}

} // namespace

TFormMain::TFormMain(const WindowServices& services)
    : services_(services)
    , ChosenDriver(services.Driver)
{
    BuildClientArea();
    BoardName.clear();
    BoardVersion.clear();
    if (!CreateComponents())
        return;
    MeasureBtn->setText(Text(StartCaption));
    SelectDefaults();
    CentreOnScreen();
    FormCreate();
}

TFormMain::~TFormMain()
{
    FormDestroy();
}

bool TFormMain::ComponentsCreated() const
{
    return myMessage && myStatus && ADC && myFile && Graph;
}

void TFormMain::BuildClientArea()
{
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowCloseButtonHint);
    setWindowIcon(QIcon(QStringLiteral(":/korvadex.png")));
    setFont(WindowFont(12));

    ClientArea = new QWidget(this);
    ClientArea->setObjectName(QStringLiteral("ClientArea"));
    ClientArea->setFixedSize(ClientWidth, ClientHeight);
    ClientArea->setBackgroundRole(QPalette::Button);
    ClientArea->setAutoFillBackground(true);
    setCentralWidget(ClientArea);
    // A fixed, non-sizable border: the window is exactly the menu bar and the client area.
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    BuildGraphArea();
    BuildSettingControls();
    BuildButtons();
    StatusBar1 = new QtStatusBar(ClientArea, QStringLiteral("StatusBar1"), QRect(0, 433, ClientWidth, 25));
    connect(StatusBar1, &QtStatusBar::Clicked, this, &TFormMain::StatusBar1Click);
    BuildMenus();
}

void TFormMain::BuildGraphArea()
{
    PaintBox1 = new QtPaintBox(ClientArea, QStringLiteral("PaintBox1"), QRect(72, 24, 528, 372));
    for (int i = 0; i < 11; ++i) {
        auto* label = new QtAxisLabel(ClientArea, QStringLiteral("Label%1").arg(i + 1), QRect(16, YLabelTops[i], 42, 12),
                                      QStringLiteral("8388608"));
        YLabelControls[static_cast<std::size_t>(i)] = label;
    }
    Label15 = new QtAxisLabel(ClientArea, QStringLiteral("Label15"), QRect(72, 406, 39, 12), QStringLiteral("Label15"));
    Label16 = new QtAxisLabel(ClientArea, QStringLiteral("Label16"), QRect(560, 406, 39, 12), QStringLiteral("Label16"));
    // Owned by the paint box, whose events it reads.
    auto* navigator = new PlotNavigator(PaintBox1, [this] { return ViewInputAccepted(); });
    connect(navigator, &PlotNavigator::ZoomSamples, this, &TFormMain::PlotZoomSamples);
    connect(navigator, &PlotNavigator::ZoomValues, this, &TFormMain::PlotZoomValues);
    connect(navigator, &PlotNavigator::Pan, this, &TFormMain::PlotPan);
    connect(navigator, &PlotNavigator::ZoomToBox, this, &TFormMain::PlotZoomToBox);
    connect(navigator, &PlotNavigator::BandChanged, PaintBox1, &QtPaintBox::SetBand);
    connect(navigator, &PlotNavigator::Fit, this, &TFormMain::MenuY_FitClick);
    connect(navigator, &PlotNavigator::Hover, this, &TFormMain::PlotHover);
    connect(navigator, &PlotNavigator::HoverEnded, this, &TFormMain::PlotHoverEnded);
    // Every code caption must end before the plot; the X axis looks the same.
    const QFont captions = FittingFont(font(), TGraph_2CH::CodeCaptionRoom, WidestCodeCaption);
    for (QtAxisLabel* label : YLabelControls)
        label->setFont(captions);
    Label15->setFont(captions);
    Label16->setFont(captions);
}

void TFormMain::BuildSettingControls()
{
    Label14 = MakeLabel(ClientArea, "Label14", 632, 24, QT_TR_NOOP("データレート"));
    ComboBox1 = MakeList(ClientArea, "ComboBox1", QRect(624, 40, 113, 20), RateItems);
    Label12 = MakeLabel(ClientArea, "Label12", 632, 68, QT_TR_NOOP("データ数"));
    ComboBox2 = MakeList(ClientArea, "ComboBox2", QRect(624, 84, 113, 20), CountItems);
    Label13 = MakeLabel(ClientArea, "Label13", 632, 112, QT_TR_NOOP("測定 CH"));
    ComboBox3 = MakeList(ClientArea, "ComboBox3", QRect(624, 128, 113, 20), ChannelItems);
    FitItems({ComboBox1, ComboBox2, ComboBox3});
    for (QLabel* label : {Label12, Label13}) {
        label->setFont(WindowFont(13));
        label->adjustSize();
    }

    Panel2 = new QFrame(ClientArea);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Panel2->setGeometry(624, 184, 113, 52);
    Panel2->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Sinc3_RB = MakeRadio(Panel2, "Sinc3_RB", QRect(8, 8, 89, 17), "Sinc3");
    Sinc5_RB = MakeRadio(Panel2, "Sinc5_RB", QRect(8, 29, 97, 17), "Sinc5+Sinc1");
}

void TFormMain::BuildButtons()
{
    MeasureBtn = MakeButton(ClientArea, "MeasureBtn", QRect(624, 345, 113, 33), StartCaption);
    connect(MeasureBtn, &QPushButton::clicked, this, &TFormMain::MeasureBtnClick);
    QuitBtn = MakeButton(ClientArea, "QuitBtn", QRect(624, 379, 113, 33), QT_TR_NOOP("終了"));
    connect(QuitBtn, &QPushButton::clicked, this, &QWidget::close);
    // In the free room above the start button, and never locked: while runs
    // repeat the menus are, and switching it off lets the run in progress be
    // the last.
    Repeat_CB = new QCheckBox(tr("連続測定"), ClientArea);
    Repeat_CB->setObjectName(QStringLiteral("Repeat_CB"));
    Repeat_CB->setGeometry(632, 322, 97, 17);
}

void TFormMain::BuildMenus()
{
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));
    File1 = bar->addMenu(tr("ファイル(&F)"));
    File1->setObjectName(QStringLiteral("File1"));
    ChooseBoard = MakeItem(File1, "ChooseBoard", QT_TR_NOOP("ボード選択(&B)..."));
    connect(ChooseBoard, &QAction::triggered, this, &TFormMain::ChooseBoardClick);
    OpenLog = MakeItem(File1, "OpenLog", QT_TR_NOOP("ログを開く(&L)..."));
    connect(OpenLog, &QAction::triggered, this, &TFormMain::OpenLogClick);
    if (services_.Records != nullptr) {
        Recording = new WindowRecording(*services_.Records, services_.Confirm, services_.Messages, this);
        Record = MakeItem(File1, "Record", QT_TR_NOOP("記録(&R)..."));
        StopRecording = MakeItem(File1, "StopRecording", QT_TR_NOOP("記録停止"));
        StopRecording->setEnabled(false);
        connect(Record, &QAction::triggered, this, &TFormMain::RecordClick);
        connect(StopRecording, &QAction::triggered, Recording, &WindowRecording::Stop);
        connect(Recording, &WindowRecording::Started, this, &TFormMain::RecordingStarted);
        connect(Recording, &WindowRecording::Ended, this, &TFormMain::RecordingEnded);
    }
    Exit1 = MakeItem(File1, "Exit1", QT_TR_NOOP("終了(&X)"));
    connect(Exit1, &QAction::triggered, this, &QWidget::close);

    Data1 = bar->addMenu(tr("データ(&D)"));
    Data1->setObjectName(QStringLiteral("Data1"));
    Save1 = MakeItem(Data1, "Save1", QT_TR_NOOP("保存(&S)"));
    Load1 = MakeItem(Data1, "Load1", QT_TR_NOOP("読込み(&O)"));
    connect(Save1, &QAction::triggered, this, &TFormMain::Save1Click);
    connect(Load1, &QAction::triggered, this, &TFormMain::Load1Click);
    N1 = MakeItem(Data1, "N1", "---");
    DataClear = MakeItem(Data1, "DataClear", QT_TR_NOOP("クリア"));
    connect(DataClear, &QAction::triggered, this, &TFormMain::DataClearClick);
    Data1->addSeparator();
    ExportCsv = MakeItem(Data1, "ExportCsv", QT_TR_NOOP("CSV書き出し(&E)..."));
    NoiseAnalysis = MakeItem(Data1, "NoiseAnalysis", QT_TR_NOOP("ノイズ解析(&N)..."));
    SaveReport = MakeItem(Data1, "SaveReport", QT_TR_NOOP("レポート保存(&R)..."));
    connect(ExportCsv, &QAction::triggered, this, &TFormMain::ExportCsvClick);
    connect(NoiseAnalysis, &QAction::triggered, this, &TFormMain::NoiseAnalysisClick);
    connect(SaveReport, &QAction::triggered, this, &TFormMain::SaveReportClick);

    MenuY = bar->addMenu(tr("Y軸表示"));
    MenuY->setObjectName(QStringLiteral("MenuY"));
    MenuY_Volt = MakeItem(MenuY, "MenuY_Volt", QT_TR_NOOP("電圧値"));
    MenuY_Volt->setCheckable(true);
    // Qt sets the check mark before it reports the click.
    connect(MenuY_Volt, &QAction::triggered, this, &TFormMain::MenuY_VoltClick);
    MenuY_Fit = MenuY->addAction(tr("全体表示"));
    MenuY_Fit->setObjectName(QStringLiteral("MenuY_Fit"));
    connect(MenuY_Fit, &QAction::triggered, this, &TFormMain::MenuY_FitClick);
}

// Each component in its turn; the first that cannot be made is reported and
// closes the window, and none after it is made.
bool TFormMain::CreateComponents()
{
    ComponentFactory& make = services_.Components;
    if (!Succeeds([&] { myMessage = make.MakeMessage(services_.Messages, QStringLiteral("KORVADEX"), BoardCaption); })) {
        services_.Messages.ShowError(QString::fromUtf8(BoardCaption),
                                     tr("致命的なメモリエラーです:%1").arg(QStringLiteral("Z_Message")));
        close();
        return false;
    }
    const auto made = [this](bool ok, const char* word) {
        if (!ok) {
            myMessage->MsgMemoryError(QString::fromLatin1(word));
            close();
        }
        return ok;
    };
    if (!made(Succeeds([&] { myStatus = make.MakeStatus(*StatusBar1, QString::fromUtf8(BoardCaption), 2); }),
              "myStatus"))
        return false;
    if (!made(Succeeds([&] { ADC = make.MakeADC(this, ChosenDriver); }), "AD7175"))
        return false;
    if (!made(Succeeds([&] { myFile = make.MakeFile(services_.Confirm); }), "FILE"))
        return false;
    for (std::size_t i = 0; i < YLabels.size(); ++i)
        YLabels[i] = YLabelControls[i];
    XLabels = {Label15, Label16};
    if (!made(Succeeds([&] {
                  Graph = make.MakeGraph(PaintBox1, &Ch0Data, &Ch1Data, &Settings, YLabels.data(), XLabels.data());
              }),
              "TGraph_2CH"))
        return false;
    // The full redraw lets waiting events run once before its traces.
    Graph->SetEventPump([] { QCoreApplication::processEvents(); });
    return true;
}

void TFormMain::SelectDefaults()
{
    ComboBox1->setCurrentIndex(DefaultRate);
    ComboBox2->setCurrentIndex(DefaultCount);
    ComboBox3->setCurrentIndex(DefaultChannel);
    Sinc3_RB->setChecked(true);
    Sinc5_RB->setChecked(false);

    Settings.spsSel = ComboBox1->currentIndex();
    Settings.DataCountSel = ComboBox2->currentIndex();
    Settings.CHSel = ComboBox3->currentIndex();
    Settings.GainSel = 0;
    Settings.GainDivisor = 1;
    Settings.fBUF_ON = 0;

    // The other flags and both counts start at 0 with the window.
    FirstIdle = 1;
}

// Making the native window first lets a platform that knows the window's
// frame before showing it say so; the filter sees the window exposed.
void TFormMain::CentreOnScreen()
{
    adjustSize();
    winId();
    windowHandle()->installEventFilter(this);
    CentreFrame();
}

// The outer frame is centred in the screen's available area, with truncating
// divisions: a window larger than the area starts before its edge.
void TFormMain::CentreFrame()
{
    CentredFrame = frameGeometry().size();
    move(CentreInside(CentredFrame, screen()->availableGeometry()));
}

void TFormMain::FormCreate()
{
    // Qt has no idle event: a timer runs the idle handler, and only while
    // it has work, so an idle window takes no processor time.
    IdleTimer.setTimerType(Qt::PreciseTimer);
    connect(&IdleTimer, &QTimer::timeout, this, &TFormMain::AppIdle);
    ScheduleIdle(false);
    SetTitle(QString());
}

void TFormMain::FormDestroy()
{
    IdleTimer.stop();
    Analysis.reset();
    // A board left streaming would not answer the next start.
    if (Running)
        StopBoard();
    myMessage.reset();
    myStatus.reset();
    ADC.reset(); // closes the USB link if it is open
    myFile.reset();
    Graph.reset();
}

void TFormMain::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    FormResize();
}

// A window manager frames the window when it is shown, before the window is
// first exposed: it is centred again with that frame, once, since the frame
// of a fixed-size window keeps its size.
bool TFormMain::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == windowHandle() && event->type() == QEvent::Expose && frameGeometry().size() != CentredFrame)
        CentreFrame();
    return QMainWindow::eventFilter(watched, event);
}

void TFormMain::FormResize()
{
    if (!Graph)
        return;
    Graph->Resize();
    if (Ch0Data.Count != 0 || Ch1Data.Count != 0)
        Graph->DrawAll(VoltShown());
    else
        Graph->DrawEmpty(VoltShown());
    LayoutPending = 1;
    ScheduleIdle(false);
}

void TFormMain::SettingsFromControls()
{
    Settings.spsSel = ComboBox1->currentIndex();
    Settings.DataCountSel = ComboBox2->currentIndex();
    Settings.CHSel = ComboBox3->currentIndex();
    Settings.fSinc5 = Sinc3_RB->isChecked() ? 0 : 1;
}

void TFormMain::ControlsFromSettings()
{
    ComboBox1->setCurrentIndex(Settings.spsSel);
    ComboBox2->setCurrentIndex(Settings.DataCountSel);
    ComboBox3->setCurrentIndex(Settings.CHSel);
    Sinc3_RB->setChecked(Settings.fSinc5 != 1);
    Sinc5_RB->setChecked(Settings.fSinc5 == 1);
}

void TFormMain::LockControls()
{
    SetControlsEnabled(false);
}

void TFormMain::UnlockControls()
{
    SetControlsEnabled(true);
}

// The window's close box is never locked.
void TFormMain::SetControlsEnabled(bool enabled)
{
    File1->menuAction()->setEnabled(enabled);
    Data1->menuAction()->setEnabled(enabled);
    MenuY->menuAction()->setEnabled(enabled);
    ChooseBoard->setEnabled(enabled);
    ComboBox1->setEnabled(enabled);
    ComboBox2->setEnabled(enabled);
    ComboBox3->setEnabled(enabled);
    Sinc3_RB->setEnabled(enabled);
    Sinc5_RB->setEnabled(enabled);
    QuitBtn->setEnabled(enabled);
    MeasureBtn->setEnabled(enabled);
}

void TFormMain::SetTitle(const QString& text)
{
    QString caption = QString::fromLatin1(WindowTitle) + QStringLiteral(" / ") + QString::fromLatin1(Version);
    if (!text.isEmpty())
        caption += QStringLiteral(" : ") + text;
    setWindowTitle(caption);
}

void TFormMain::LayoutStatusBar()
{
    StatusBar1->setGeometry(0, ClientArea->height() - BorderWidth - StatusBarHeight, ClientArea->width(),
                            StatusBarHeight);
}

bool TFormMain::VoltShown() const
{
    return MenuY_Volt->isChecked();
}

void TFormMain::AppIdle()
{
    // No pass runs inside another: the redraws pump events while the timer
    // is stopped here.
    IdleTimer.stop();
    const std::int32_t taken = SamplesTaken;
    if (RepeatPending) {
        StartNextRun();
    } else if (Running) {
        if (Settings.CHSel == ModeDual)
            StepDual();
        else
            StepSingle();
    }
    const bool readBroughtSamples = Running && SamplesTaken != taken;
    if (FirstIdle) {
        FirstIdle = 0;
        MeasureBtn->setFocus();
        Graph->DrawEmpty(VoltShown());
    }
    if (LayoutPending) {
        LayoutPending = 0;
        LayoutStatusBar();
    }
    ScheduleIdle(readBroughtSamples);
}

// The handler runs again at once while a one-shot request or the next of
// repeated runs waits, or the last read brought samples; while a run waits
// for its next chunk it polls every millisecond; with nothing to do it does
// not run at all.
void TFormMain::ScheduleIdle(bool readBroughtSamples)
{
    if (FirstIdle || LayoutPending || RepeatPending || readBroughtSamples)
        IdleTimer.start(0);
    else if (Running)
        IdleTimer.start(1);
    else
        IdleTimer.stop();
}

void TFormMain::ComputeCodeStats()
{
    ::ComputeCodeStats(Ch0Data, Ch0Stats);
    ::ComputeCodeStats(Ch1Data, Ch1Stats);
}

void TFormMain::ComputeMicrovoltStats()
{
    ::ComputeMicrovoltStats(Ch0Data, Ch0Stats);
    ::ComputeMicrovoltStats(Ch1Data, Ch1Stats);
}

// The extremes are the data's own, found afresh as the companion finds them
// (the graph's scan is held to the converter's range for its axis); the
// deviation is the one the last computation stored.
void TFormMain::ShowChannelStats(int channel)
{
    const bool ch0 = channel == 0;
    const ChannelStats& stats = ch0 ? Ch0Stats : Ch1Stats;
    const ChannelFigures::Extremes extremes = ChannelFigures::ExtremesOf(ch0 ? Ch0Data : Ch1Data);
    if (VoltShown())
        myStatus->ShowStatVolt(channel, stats.DevMicrovolts, extremes.MinMicrovolts, extremes.MaxMicrovolts);
    else
        myStatus->ShowStatDigit(extremes.MaxCode, extremes.MinCode, channel, stats.DevCode);
}

// After a run or a load: CH0's statistics unless the data is CH1's alone.
void TFormMain::ShowSelectedChannelStats()
{
    StatsShowCh0 = Settings.CHSel == ModeCh1 ? 0 : 1;
    ShowChannelStats(StatsShowCh0 ? 0 : 1);
}

void TFormMain::StatusBar1Click()
{
    if (!(Ch0Valid && Ch1Valid))
        return;
    if (StatsShowCh0) {
        ShowChannelStats(1);
        StatsShowCh0 = 0;
    } else {
        ShowChannelStats(0);
        StatsShowCh0 = 1;
    }
}

// A zoomed view keeps its samples and fits the value axis to them afresh.
void TFormMain::MenuY_VoltClick()
{
    Graph->FitValues();
    if (Ch0Valid || Ch1Valid)
        Graph->DrawAll(VoltShown());
    else
        Graph->DrawEmpty(VoltShown());
    if (Settings.CHSel == ModeCh0 && Ch0Valid)
        ShowChannelStats(0);
    if (Settings.CHSel == ModeCh1 && Ch1Valid)
        ShowChannelStats(1);
    if (Settings.CHSel == ModeDual)
        StatusBar1Click();
}

void TFormMain::DataClearClick()
{
    DropData();
    Graph->DrawEmpty(VoltShown());
}

void TFormMain::MarkChannelsValid()
{
    Ch0Valid = Settings.CHSel == ModeCh0 || Settings.CHSel == ModeDual ? 1 : 0;
    Ch1Valid = Settings.CHSel == ModeCh1 || Settings.CHSel == ModeDual ? 1 : 0;
}

// The samples taken become the data of the channels that CHSel names.
void TFormMain::HoldSamples(std::int32_t count)
{
    MarkChannelsValid();
    Ch0Data.Count = Ch0Valid ? count : 0;
    Ch1Data.Count = Ch1Valid ? count : 0;
}

void TFormMain::DropData()
{
    ForgetData();
    FollowData();
}

void TFormMain::ForgetData()
{
    Ch0Valid = Ch1Valid = 0;
    Ch0Data.Count = Ch1Data.Count = 0;
    ResetView();
    DataPath.clear();
}

// The held samples in microvolts, drawn whole, with their statistics.
void TFormMain::DrawHeldData()
{
    ResetView();
    ConvertAll();
    Graph->DrawAll(VoltShown());
    ComputeCodeStats();
    ComputeMicrovoltStats();
    FollowData();
}

// Locked controls mean a run, its start or a load is under way.
bool TFormMain::ViewInputAccepted() const
{
    return Graph && !Running && HasData() && MenuY->menuAction()->isEnabled();
}

void TFormMain::PlotZoomSamples(double factor, QPoint at)
{
    RedrawView(Graph->ZoomSamplesAt(factor, at.x() - 1));
}

void TFormMain::PlotZoomValues(double factor, QPoint at)
{
    RedrawView(Graph->ZoomValuesAt(factor, at.y() - 1, VoltShown()));
}

void TFormMain::PlotPan(int columns, int rows)
{
    RedrawView(Graph->PanBy(columns, rows, VoltShown()));
}

// The bitmap lies one pixel inside the paint box.
void TFormMain::PlotZoomToBox(const QRect& box)
{
    RedrawView(Graph->ZoomToRect({box.left() - 1, box.top() - 1, box.right(), box.bottom()}, VoltShown()));
}

void TFormMain::MenuY_FitClick()
{
    if (ViewInputAccepted())
        RedrawView(Graph->FitView());
}

void TFormMain::RedrawView(bool changed)
{
    if (changed)
        Graph->DrawAll(VoltShown());
}

// New data, none, or a run: the auto view, and no readout of what was shown.
void TFormMain::ResetView()
{
    Graph->FitView();
    PaintBox1->SetReadout(PlotOverlay());
}

void TFormMain::PlotHover(QPoint at)
{
    if (ViewInputAccepted())
        PaintBox1->SetReadout(PlotReadout::At(*Graph, Settings, VoltShown(), at));
    else
        PlotHoverEnded();
}

void TFormMain::PlotHoverEnded()
{
    PaintBox1->SetReadout(PlotOverlay());
}

void TFormMain::ConvertAll()
{
    if (Ch0Valid)
        ConvertSamples(Ch0Data, 0, Ch0Data.Count - 1);
    if (Ch1Valid)
        ConvertSamples(Ch1Data, 0, Ch1Data.Count - 1);
}

void TFormMain::ConvertRange(std::int32_t first, std::int32_t last)
{
    if (Settings.CHSel == ModeCh0 || Settings.CHSel == ModeDual)
        ConvertSamples(Ch0Data, first, last);
    if (Settings.CHSel == ModeCh1 || Settings.CHSel == ModeDual)
        ConvertSamples(Ch1Data, first, last);
}

void TFormMain::ConvertSamples(ChannelData& channel, std::int32_t first, std::int32_t last)
{
    for (std::int32_t i = first; i <= last; ++i)
        channel.Microvolts[i] = static_cast<float>(Graph->CodeToMicrovolts(channel.Codes[i]));
}

void TFormMain::MeasureBtnClick()
{
    const QString caption = MeasureBtn->text();
    if (caption == Text(StartCaption)) {
        if (!BoardChosen())
            return;
        RunNumber = 0;
        StartMeasurement();
    } else if (caption == Text(StopCaption)) {
        StopMeasurement();
    }
}

// Among several FTDI devices the operator names the board once; the choice
// holds until the program ends. Only a driver with a device list is asked
// for one: without it the link opens the first device, as with one device.
bool TFormMain::BoardChosen()
{
    if (!BoardSerial.isEmpty() || !BoardChoosable())
        return true;
    std::vector<FtdiDevice> devices;
    if (DeviceList::Read(services_.Driver, devices) != FT_OK || devices.size() < 2)
        return true;
    return AskForBoard(devices);
}

bool TFormMain::BoardChoosable() const
{
    return services_.Boards != nullptr && services_.Driver.Discovery() != nullptr;
}

// False, and the choice as it was, when the operator cancels.
bool TFormMain::AskForBoard(const std::vector<FtdiDevice>& devices)
{
    const QString serial = services_.Boards->ChooseBoard(devices, BoardSerial);
    if (serial.isEmpty() || !ChosenDriver.Choose(serial.toStdString()))
        return false;
    BoardSerial = serial;
    return true;
}

// Only while no run is going (the item is locked with the menus). The link a
// completed run left open is closed, so the next start identifies the board
// chosen now.
void TFormMain::ChooseBoardClick()
{
    if (!BoardChoosable())
        return;
    std::vector<FtdiDevice> devices;
    DeviceList::Read(services_.Driver, devices);
    if (!AskForBoard(devices) || !BoardReady)
        return;
    ADC->CloseBoard();
    BoardReady = 0;
}

void TFormMain::StartMeasurement()
{
    LockControls();
    const MeasureSettings held = Settings;
    SettingsFromControls();
    if (!BoardReady && !ConnectBoard()) {
        RefuseStart(held);
        myStatus->ShowNotFound();
        return;
    }
    BoardReady = 1;
    if (!ConfigureBoard()) {
        RefuseStart(held);
        myStatus->ShowBoardError();
        return;
    }
    // The old run's axes, as its auto view has them, stay until the new run draws.
    ResetView();
    if (Ch0Valid || Ch1Valid)
        Graph->DrawAxes(VoltShown());
    // The analysis keeps the data it was given until this run ends: one
    // repeating runs compares each run with the one before.
    ForgetData();
    SamplesTaken = 0;
    Running = 1;
    ++RunNumber;
    MeasureBtn->setText(Text(StopCaption));
    myStatus->ShowMeasuring();
    myStatus->ShowStarting();
    MeasureBtn->setEnabled(true);
    // The status line's panels are all taken, the third by texts nearly as
    // wide as the bar: the caption counts repeated runs.
    SetTitle(Repeat_CB->isChecked() ? tr("%1 回目").arg(RunNumber) : QString());
    NextRefresh = 0;
    ScheduleIdle(false);
}

// A start that fails leaves the data of an earlier run or file as it was,
// and so the settings it was taken with, which a save writes.
// A repeated start that fails ends the repetition here too.
void TFormMain::RefuseStart(const MeasureSettings& held)
{
    BoardReady = 0;
    Settings = held;
    MeasureBtn->setText(Text(StartCaption));
    UnlockControls();
}

void TFormMain::StopMeasurement()
{
    if (RepeatPending) {
        EndRepetition();
        return;
    }
    StopBoard();
    myStatus->ShowMeasureStop();
    Running = 0;
    if (SamplesTaken < FewestKeptSamples) {
        DropData();
        myStatus->ClearInfo();
    } else {
        // The redraw lets events run; a second click must not land in it.
        MeasureBtn->setEnabled(false);
        HoldSamples(SamplesTaken);
        DrawHeldData();
        ShowSelectedChannelStats();
    }
    MeasureBtn->setText(Text(StartCaption));
    UnlockControls();
}

// Identifies the board; every failure closes the link.
bool TFormMain::ConnectBoard()
{
    if (!ADC->OpenBoard()) {
        BoardNotFound();
        myStatus->ShowNotFound();
        return false;
    }
    char name[TADC::NameLength + 1] = {};
    if (!ADC->CheckBoard() || !ADC->GetBoardName(name))
        return BoardSilent();
    if (std::strcmp(name, BoardModel) != 0)
        return BoardNotFound();
    BoardName = QString::fromLatin1(name);
    char version[TADC::NameLength + 1] = {};
    if (!ADC->GetVersion(version))
        return BoardSilent();
    BoardVersion = QString::fromLatin1(version);
    myStatus->ShowBoard(BoardName, BoardVersion);
    return true;
}

bool TFormMain::BoardNotFound()
{
    ADC->CloseBoard();
    myMessage->MsgNotFound();
    return false;
}

bool TFormMain::BoardSilent()
{
    ADC->CloseBoard();
    myMessage->MsgNoResponse();
    myStatus->ShowNoResponse();
    return false;
}

// Reads the controls themselves; Settings was filled from them just before.
bool TFormMain::ConfigureBoard()
{
    if (!(Sinc3_RB->isChecked() ? ADC->SetSinc3() : ADC->SetSinc5()))
        return false;
    if (!ADC->SetDataRate(ComboBox1->currentIndex()))
        return false;
    TargetCount = ComboBox2->currentText().toInt();
    ChunkSize = std::min(ReadChunkTable[Settings.spsSel], TargetCount);
    return ADC->StartMeasure(Settings.CHSel, TargetCount);
}

void TFormMain::StopBoard()
{
    ADC->StopMeasure();
    ADC->CloseBoard();
    BoardReady = 0;
}

std::int32_t* TFormMain::MeasuredCodes()
{
    return Settings.CHSel == ModeCh1 ? Ch1Codes : Ch0Codes;
}

// Every chunk size divides every listed count, so a run ends exactly on
// TargetCount and no read goes past the arrays.
void TFormMain::StepSingle()
{
    if (SamplesTaken >= TargetCount)
        return;
    std::int32_t got = 0;
    if (!ADC->ReadData1(MeasuredCodes() + SamplesTaken, got, ChunkSize)) {
        EndRunOnReadError();
        return;
    }
    AfterRead(got);
}

void TFormMain::StepDual()
{
    if (SamplesTaken >= TargetCount)
        return;
    std::int32_t got = 0;
    if (!ADC->ReadData2(Ch0Codes + SamplesTaken, Ch1Codes + SamplesTaken, ChunkSize, got)) {
        EndRunOnReadError();
        return;
    }
    AfterRead(got);
}

void TFormMain::AfterRead(std::int32_t got)
{
    if (got < 1)
        return;
    SamplesTaken += got;
    if (SamplesTaken >= TargetCount) {
        CompleteRun();
        return;
    }
    const std::int32_t newest = SamplesTaken - 1;
    if (Settings.CHSel == ModeDual)
        myStatus->ShowPoint2CH(SamplesTaken, Ch0Codes[newest], Ch1Codes[newest]);
    else
        myStatus->ShowPoint1CH(SamplesTaken, MeasuredCodes()[newest]);
    DrawLiveBlock();
}

// At most one block a pass, and never the last block of a run: the whole
// run is drawn at its end instead.
void TFormMain::DrawLiveBlock()
{
    if (Settings.spsSel > HighestLiveRate || SamplesTaken < NextRefresh + BlockSize)
        return;
    const std::int32_t last = NextRefresh + BlockSize - 1;
    ConvertRange(NextRefresh, last);
    Graph->DrawBlock(VoltShown(), NextRefresh, last);
    NextRefresh += BlockSize;
}

// The board was told the count, so nothing is sent; the link stays open and
// the next start goes straight to configuration.
void TFormMain::CompleteRun()
{
    // A two-channel run, the longest to redraw, says it has ended before the
    // redraw as well as after.
    if (Settings.CHSel == ModeDual)
        myStatus->ShowMeasureEnd();
    Running = 0;
    // The redraw lets events run; a stop click must not land in it.
    MeasureBtn->setEnabled(false);
    HoldSamples(TargetCount);
    DrawHeldData();
    // Read after the redraw, which let the operator's clicks run.
    if (Repeat_CB->isChecked()) {
        // The controls stay locked; the stop button ends the repetition.
        RepeatPending = 1;
        MeasureBtn->setEnabled(true);
    } else {
        MeasureBtn->setText(Text(StartCaption));
        UnlockControls();
    }
    myStatus->ShowMeasureEnd();
    ShowSelectedChannelStats();
}

// The board finished the last run by itself, so nothing is sent. Switched off
// in the meantime, the repetition ends with the run on screen.
void TFormMain::StartNextRun()
{
    RepeatPending = 0;
    if (Repeat_CB->isChecked())
        StartMeasurement();
    else
        EndRepetition();
}

// Between runs: the last complete run stays on screen, the link stays open.
void TFormMain::EndRepetition()
{
    RepeatPending = 0;
    MeasureBtn->setText(Text(StartCaption));
    UnlockControls();
}

// The run's samples are dropped; the link stays open and BoardReady as it is.
void TFormMain::EndRunOnReadError()
{
    ADC->StopMeasure();
    myStatus->ShowMeasureError();
    Running = 0;
    DropData();
    MeasureBtn->setText(Text(StartCaption));
    UnlockControls();
}

void TFormMain::Save1Click()
{
    if (!Ch0Valid && !Ch1Valid) {
        myMessage->MsgNoData();
        return;
    }
    QString path = services_.Files.ChooseSavePath(QString::fromUtf8(SaveFilter), QString::fromLatin1(DataFileName));
    if (path.isEmpty())
        return;
    // Exactly ".DTA" at the end, upper case; anything else gets it appended.
    if (!path.endsWith(QLatin1String(DataFileExtension), Qt::CaseSensitive))
        path += QLatin1String(DataFileExtension);
    const bool saved = SaveData(path);
    // The operator kept the old file: nothing was saved, so nothing says so.
    if (saved && myFile->OverwriteDeclined())
        return;
    LastSaveOk = saved ? 1 : 0;
    if (!LastSaveOk) {
        myMessage->MsgSaveError();
        return;
    }
    myStatus->ShowFileSaved();
    SetTitle(path);
    DataPath = path;
    FollowData();  // the analysis names the run by its file now
}

// The settings of the run, not what the lists show now.
bool TFormMain::SaveData(const QString& path)
{
    if (Settings.CHSel == ModeDual)
        return myFile->SaveFile2CH(path, &Settings, &Ch0Data, &Ch1Data);
    return myFile->SaveFile1CH(path, &Settings, Settings.CHSel == ModeCh1 ? &Ch1Data : &Ch0Data);
}

void TFormMain::Load1Click()
{
    const QString path =
        services_.Files.ChooseOpenPath(Text(OpenFilter), QString::fromLatin1(DataFileName));
    if (path.isEmpty())
        return;
    setFocus();
    LockControls();
    MeasureSettings loaded = Settings;
    // The lists must be able to show the file's settings, and the channel they
    // name must hold samples: statistics of nothing would be wrong numbers.
    if (myFile->LoadFile(path, &loaded, &Ch0Data, &Ch1Data) && IsShowableRun(loaded, Ch0Data, Ch1Data))
        ShowLoadedRun(loaded, path);
    else
        RefuseLoadedFile();
    UnlockControls();
}

void TFormMain::ShowLoadedRun(const MeasureSettings& loaded, const QString& path)
{
    Settings = loaded;
    Settings.GainDivisor = ADC->GetGainDivisor();
    ControlsFromSettings();
    MarkChannelsValid();
    DataPath = path;
    DrawHeldData();
    MeasureBtn->setText(Text(StartCaption));
    myStatus->ShowFileLoaded();
    SetTitle(path);
    ShowSelectedChannelStats();
}

// The reader may have overwritten part of the samples before it failed, so
// the window keeps no data at all, as after "クリア".
void TFormMain::RefuseLoadedFile()
{
    DropData();
    Graph->DrawEmpty(VoltShown());
    myStatus->ClearInfo();
    myMessage->MsgFileError();
    SetTitle(QString());
}

bool TFormMain::HasData() const
{
    return Ch0Valid || Ch1Valid;
}

// The analysis is worked out only while its window is open.
void TFormMain::FollowData()
{
    if (!Analysis || !Analysis->isVisible())
        return;
    if (HasData())
        Analysis->ShowRun(DataName(), Settings, Ch0Data, Ch1Data);
    else
        Analysis->ShowEmpty();
}

QString TFormMain::DataName() const
{
    return DataPath.isEmpty() ? Text(UnsavedRunName) : DataPath;
}

void TFormMain::ExportCsvClick()
{
    if (!HasData()) {
        myMessage->MsgNoData();
        return;
    }
    QString path = services_.Files.ChooseSavePath(QString::fromUtf8(CsvFilter), QString::fromLatin1(CsvFileName));
    if (path.isEmpty())
        return;
    path = WithExtension(path, {QStringLiteral(".csv")});
    if (!MayOverwrite(services_.Confirm, path))
        return;
    if (!RunFiles::WriteCsv(path, Settings, Ch0Data, Ch1Data))
        myMessage->MsgSaveError();
}

void TFormMain::NoiseAnalysisClick()
{
    if (!HasData()) {
        myMessage->MsgNoData();
        return;
    }
    if (!Analysis) {
        Analysis = std::make_unique<AnalysisWindow>(this);
        PlaceAnalysis();
    }
    Analysis->show();
    Analysis->raise();
    Analysis->activateWindow();
    FollowData();
}

// Beside the main window where the screen leaves room, over it where not;
// never off the screen. Not yet shown, the analysis has no frame to measure:
// the window manager frames it as it framed the main window.
void TFormMain::PlaceAnalysis()
{
    PlaceBesideMe(*Analysis);
}

void TFormMain::PlaceBesideMe(QWidget& window)
{
    const QSize margins = frameGeometry().size() - size();
    const QRect frame = PlaceBeside(frameGeometry(), window.size() + margins, screen()->availableGeometry());
    window.resize(frame.size() - margins);
    window.move(frame.topLeft());
}

// A log that cannot be opened is refused with its reason; a log window
// already open keeps what it showed.
void TFormMain::OpenLogClick()
{
    const QString path = services_.Files.ChooseOpenPath(Text(LogFilter), QString());
    if (!path.isEmpty())
        OpenLogFile(path);
}

void TFormMain::OpenLogFile(const QString& path)
{
    const bool placed = LogView != nullptr;
    if (!placed)
        LogView = std::make_unique<LogWindow>(this, &services_.Files, &services_.Confirm);
    QString error;
    if (!LogView->Open(path, error)) {
        if (!error.isEmpty())  // empty: the operator cancelled
            services_.Messages.ShowError(QStringLiteral("KORVADEX"), error);
        if (!placed)
            LogView.reset();
        return;
    }
    ShownLogWindow();
}

// The log window, made and placed beside this one on first use, in front.
LogWindow& TFormMain::ShownLogWindow()
{
    if (!LogView)
        LogView = std::make_unique<LogWindow>(this, &services_.Files, &services_.Confirm);
    if (!LogView->isVisible())
        PlaceBesideMe(*LogView);
    LogView->show();
    LogView->raise();
    LogView->activateWindow();
    return *LogView;
}

// The companion records, through the board chosen among several; the
// window lets go of the board for it.
void TFormMain::RecordClick()
{
    if (Recording == nullptr || Recording->Recording() || !BoardChosen())
        return;
    if (BoardReady) {
        ADC->CloseBoard();
        BoardReady = 0;
    }
    Recording->Start(Recording->Proposal(RecordProposal()));
}

// The lists' settings, into a file of the date and time in the documents
// folder (the home folder when there is none).
RecordRequest TFormMain::RecordProposal() const
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    RecordRequest proposal;
    proposal.Settings.spsSel = ComboBox1->currentIndex();
    proposal.Settings.CHSel = ComboBox3->currentIndex();
    proposal.Settings.fSinc5 = Sinc5_RB->isChecked() ? 1 : 0;
    proposal.Path = QDir(QFileInfo(documents).isDir() ? documents : QDir::homePath())
                        .filePath(QStringLiteral("korvadex-%1.h5")
                                      .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"))));
    proposal.BoardSerial = BoardSerial;
    return proposal;
}

void TFormMain::RecordingStarted(const QString& path)
{
    LockForRecording(true);
    ShownLogWindow().FollowRecording(path);
}

void TFormMain::RecordingEnded(const QString& said)
{
    LockForRecording(false);
    if (LogView)
        LogView->RecordingEnded(said);
}

// The board is the recording's: what would measure or choose another is
// locked; the rest of the window stays usable.
void TFormMain::LockForRecording(bool recording)
{
    for (QWidget* control : std::initializer_list<QWidget*>{ComboBox1, ComboBox2, ComboBox3, Sinc3_RB, Sinc5_RB, MeasureBtn})
        control->setEnabled(!recording);
    ChooseBoard->setEnabled(!recording);
    Record->setEnabled(!recording);
    StopRecording->setEnabled(recording);
}

void TFormMain::closeEvent(QCloseEvent* event)
{
    if (Recording != nullptr && !Recording->MayClose()) {
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
}

void TFormMain::SaveReportClick()
{
    if (!HasData()) {
        myMessage->MsgNoData();
        return;
    }
    QString path =
        services_.Files.ChooseSavePath(QString::fromUtf8(ReportFilter), QString::fromLatin1(ReportFileName));
    if (path.isEmpty())
        return;
    path = WithExtension(path, {QStringLiteral(".pdf"), QStringLiteral(".png")});
    if (!MayOverwrite(services_.Confirm, path))
        return;
    const RunAnalysis analysis = ReportAnalysis::Of(DataName(), Settings, Ch0Data, Ch1Data);
    if (!RunFiles::WriteReport(path, analysis, Ch0Data, Ch1Data))
        myMessage->MsgSaveError();
}
