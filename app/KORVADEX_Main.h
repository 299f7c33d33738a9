#pragma once

#include "ChannelData.h"
#include "ChannelStats.h"
#include "ChosenD2xx.h"
#include "DeviceList.h"
#include "MeasureSettings.h"
#include "WindowServices.h"

#include <QMainWindow>
#include <QPoint>
#include <QRect>
#include <QTimer>

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

class AnalysisWindow;
class LogWindow;
class WindowRecording;
struct RecordRequest;
class QAction;
class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QMenu;
class QPushButton;
class QRadioButton;
class QtAxisLabel;
class QtPaintBox;
class QtStatusBar;
class TADC;
class TGraph_2CH;
class TmyFile;
class TmyMessage;
class TmyStatus;
class AxisLabel;

// The program's only window: the graph with its axis labels, the lists and
// buttons that choose and start a measurement, the menus and the three-panel
// status bar. It owns the five components, the settings, the sample arrays
// and the statistics, and routes every operator action to them. Controls
// carry their names as object names (ComboBox1, MeasureBtn, MenuY_Volt, ...).
class TFormMain : public QMainWindow {
    Q_OBJECT
public:
    static constexpr int ClientWidth = 760;
    static constexpr int ClientHeight = 458;

    explicit TFormMain(const WindowServices& services);
    ~TFormMain() override;

    // False when a component could not be made: the window has shown the
    // fatal-memory box and closed itself, and the program ends.
    bool ComponentsCreated() const;
    // A log in the log window, as "ログを開く" opens one (a file given on the
    // program's command line); a file that is not one is refused in a box.
    void OpenLogFile(const QString& path);

protected:
    void resizeEvent(QResizeEvent* event) override;
    // Asks first while a recording runs.
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    friend class FormMainProbe;

    // Construction and destruction.
    void BuildClientArea();
    void BuildGraphArea();
    void BuildSettingControls();
    void BuildButtons();
    void BuildMenus();
    bool CreateComponents();
    void SelectDefaults();
    void CentreOnScreen();
    void CentreFrame();
    void FormCreate();
    void FormDestroy();
    void FormResize();

    // Settings and controls.
    void SettingsFromControls();
    void ControlsFromSettings();
    void LockControls();
    void UnlockControls();
    void SetControlsEnabled(bool enabled);
    void SetTitle(const QString& text);
    void LayoutStatusBar();
    bool VoltShown() const;

    // The idle handler and when it runs.
    void AppIdle();
    void ScheduleIdle(bool readBroughtSamples);

    // Measurement control.
    void MeasureBtnClick();
    bool BoardChosen();
    bool BoardChoosable() const;
    bool AskForBoard(const std::vector<FtdiDevice>& devices);
    void ChooseBoardClick();
    void StartMeasurement();
    void RefuseStart(const MeasureSettings& held);
    void StopMeasurement();
    void StartNextRun();
    void EndRepetition();
    bool ConnectBoard();
    bool BoardNotFound();
    bool BoardSilent();
    bool ConfigureBoard();
    void StopBoard();
    void StepSingle();
    void StepDual();
    void AfterRead(std::int32_t got);
    void DrawLiveBlock();
    void CompleteRun();
    void EndRunOnReadError();
    std::int32_t* MeasuredCodes();

    // Save and load.
    void Save1Click();
    bool SaveData(const QString& path);
    void Load1Click();
    void ShowLoadedRun(const MeasureSettings& loaded, const QString& path);
    void RefuseLoadedFile();

    // Statistics, readouts and views.
    void ComputeCodeStats();
    void ComputeMicrovoltStats();
    void ShowChannelStats(int channel);
    void ShowSelectedChannelStats();
    void StatusBar1Click();
    void MenuY_VoltClick();
    void DataClearClick();
    void MarkChannelsValid();
    void HoldSamples(std::int32_t count);
    void DropData();
    void ForgetData();
    void DrawHeldData();

    // Zoom, pan and the readout over the plot, while no run is going.
    bool ViewInputAccepted() const;
    void PlotZoomSamples(double factor, QPoint at);
    void PlotZoomValues(double factor, QPoint at);
    void PlotPan(int columns, int rows);
    void PlotZoomToBox(const QRect& box);
    void MenuY_FitClick();
    void RedrawView(bool changed);
    void ResetView();
    void PlotHover(QPoint at);
    void PlotHoverEnded();

    // The analysis window, the CSV table and the report of the data on screen.
    bool HasData() const;
    void FollowData();
    QString DataName() const;
    void ExportCsvClick();
    void NoiseAnalysisClick();
    void SaveReportClick();
    void PlaceAnalysis();
    void OpenLogClick();
    // Recording a long log, in the log window.
    void RecordClick();
    RecordRequest RecordProposal() const;
    void RecordingStarted(const QString& path);
    void RecordingEnded(const QString& said);
    void LockForRecording(bool recording);
    LogWindow& ShownLogWindow();
    // Beside this window, inside the screen.
    void PlaceBesideMe(QWidget& window);

    // Codes to microvolts.
    void ConvertAll();
    void ConvertRange(std::int32_t first, std::int32_t last);
    void ConvertSamples(ChannelData& channel, std::int32_t first, std::int32_t last);

    const WindowServices services_;
    // The driver the link is given: it opens the board the operator chose.
    ChosenD2xx ChosenDriver;

    // Controls (owned by Qt's parent chain).
    QWidget* ClientArea = nullptr;
    QtPaintBox* PaintBox1 = nullptr;
    std::array<QtAxisLabel*, 11> YLabelControls{};
    QtAxisLabel* Label15 = nullptr;
    QtAxisLabel* Label16 = nullptr;
    QLabel* Label12 = nullptr;
    QLabel* Label13 = nullptr;
    QLabel* Label14 = nullptr;
    QComboBox* ComboBox1 = nullptr;
    QComboBox* ComboBox2 = nullptr;
    QComboBox* ComboBox3 = nullptr;
    QFrame* Panel2 = nullptr;
    QRadioButton* Sinc3_RB = nullptr;
    QRadioButton* Sinc5_RB = nullptr;
    QPushButton* MeasureBtn = nullptr;
    QPushButton* QuitBtn = nullptr;
    QCheckBox* Repeat_CB = nullptr;
    QtStatusBar* StatusBar1 = nullptr;
    QMenu* File1 = nullptr;
    QMenu* Data1 = nullptr;
    QMenu* MenuY = nullptr;
    QAction* ChooseBoard = nullptr;
    QAction* OpenLog = nullptr;
    QAction* Record = nullptr;
    QAction* StopRecording = nullptr;
    QAction* Exit1 = nullptr;
    QAction* Save1 = nullptr;
    QAction* Load1 = nullptr;
    QAction* N1 = nullptr;
    QAction* DataClear = nullptr;
    QAction* MenuY_Volt = nullptr;
    QAction* MenuY_Fit = nullptr;
    QAction* ExportCsv = nullptr;
    QAction* NoiseAnalysis = nullptr;
    QAction* SaveReport = nullptr;

    // One-byte flags.
    std::uint8_t StatsShowCh0 = 0;
    std::uint8_t Ch0Valid = 0;
    std::uint8_t Ch1Valid = 0;
    std::uint8_t LayoutPending = 0;
    std::uint8_t FirstIdle = 0;
    std::uint8_t BoardReady = 0;
    std::uint8_t Running = 0;
    std::uint8_t LastSaveOk = 0;
    // A repeated run has completed and the next one starts at the next idle pass.
    std::uint8_t RepeatPending = 0;

    // The owned components; each is null when absent.
    std::unique_ptr<TmyMessage> myMessage;
    std::unique_ptr<TmyStatus> myStatus;
    std::unique_ptr<TGraph_2CH> Graph;
    std::unique_ptr<TADC> ADC;
    std::unique_ptr<TmyFile> myFile;

    QString BoardName;
    QString BoardVersion;
    // The serial number of the board chosen among several devices; empty
    // while none has been, and the link opens the first device.
    QString BoardSerial;

    std::int32_t NextRefresh = 0;
    std::int32_t TargetCount = 0;
    std::int32_t SamplesTaken = 0;
    // Runs started since the operator pressed the start button.
    std::int32_t RunNumber = 0;

    std::int32_t Ch0Codes[SampleCapacity] = {};
    std::int32_t Ch1Codes[SampleCapacity] = {};
    float Ch0Microvolts[SampleCapacity] = {};
    float Ch1Microvolts[SampleCapacity] = {};

    std::int32_t ChunkSize = 0;

    ChannelData Ch0Data{0, Ch0Codes, Ch0Microvolts};
    ChannelData Ch1Data{0, Ch1Codes, Ch1Microvolts};
    MeasureSettings Settings;
    ChannelStats Ch0Stats;
    ChannelStats Ch1Stats;

    std::array<AxisLabel*, 2> XLabels{};
    std::array<AxisLabel*, 11> YLabels{};

    // The noise analysis beside the window, once opened; closed with it.
    std::unique_ptr<AnalysisWindow> Analysis;
    std::unique_ptr<LogWindow> LogView;
    // Null without a record dialog.
    WindowRecording* Recording = nullptr;
    // The data file the data on screen was loaded from or saved to.
    QString DataPath;

    QTimer IdleTimer;
    // The size of the outer frame the window was last centred with.
    QSize CentredFrame;
};
