#pragma once

#include "LogRecords.h"
#include "RunAnalysis.h"

#include <QDateTime>
#include <QWidget>

#include <cstdint>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

class AnalysisWindow;
class ConfirmPrompt;
class FileChooser;
class QLineEdit;
class LogPlot;
class LogSource;
class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QTimer;

// A long-term log, text or HDF5, in a window of its own: the whole log at
// once as each pixel column's extremes, zoomed and panned as the main graph
// is, down to single samples; the channels shown, codes or µV, UTC or local
// time; the readout under the mouse, and what the log holds. A log still
// being written (its last run running) is looked at again every second and
// followed as it grows.
//
// A recording from the window is followed from before its file exists
// until it ends: the plot shows the last seconds, a strip below it the
// whole log so far, and a status line the samples, the time since the
// start, the file's size and bytes a sample, the reconnects and the runs
// cut short.
class LogWindow : public QWidget {
    Q_OBJECT
public:
    // Without a file chooser and a prompt, stretches are not exported.
    explicit LogWindow(QWidget* parent = nullptr, FileChooser* files = nullptr, ConfirmPrompt* confirm = nullptr);
    ~LogWindow() override;

    // The log from now on; false with the reason (naming the file), the
    // window showing what it showed before. A finished log of over a
    // million samples without block summaries gets them in memory first,
    // with a progress box; cancelled, it is false with no reason.
    bool Open(const QString& path, QString& error);
    // The log a recording is writing to `path`, from now until RecordingEnded.
    void FollowRecording(const QString& path);
    // The recording has ended; `said` is its last word.
    void RecordingEnded(const QString& said);
    bool FollowsRecording() const { return recording_; }
    QString RecordingStatus() const;
    LogPlot* Overview() const { return overview_; }
    LogPlot* Plot() const { return plot_; }
    QString Summary() const;
    // The exact figures of the stretch chosen last, from its codes by the
    // streaming analysis; nothing before one is chosen or when cancelled.
    const std::optional<RunAnalysis>& Stretch() const { return stretch_; }
    // The stretch's noise analysis in the analysis window ("ノイズ解析"),
    // made on first use beside this window; null before.
    AnalysisWindow* Analysis() const { return analysis_.get(); }
    void ShowStretchAnalysis();
    // The stretch the from and to fields name (a sample number, or a time of
    // day "2026-12-08 21:40:12.345" in UTC or local time as shown), chosen
    // as a Shift-drag chooses one; false with the reason under the plot.
    bool SelectTyped();
    // The stretch chosen last into a file the operator names: ".csv" the
    // sample table of `export`, ".DTA" a run (at most 100000 samples),
    // ".png" the plot showing the stretch; false with the reason.
    bool ExportStretch();

private:
    void ChooseChannels();
    void OfferChannels();
    void Analyse(std::int64_t first, std::int64_t last);
    std::optional<std::int64_t> TypedSample(const QString& text) const;
    bool WriteStretch(const QString& path, QString& error);
    void FollowGrowth();
    void ReleaseLog();
    void ShowLastSeconds();
    void CountEvents(const std::vector<LogEvent>& events);
    // The log as it stands, its timeline and events; false with the reason.
    struct Opened;
    static bool Load(const QString& path, Opened& opened, QString& error);
    void ShowOpened(Opened& opened);
    bool Summarize(Opened& opened, QString& error);
    static QString FiguresText(const RunAnalysis& analysis);

    std::unique_ptr<LogSource> log_;
    QString path_;
    // The file's size and time of change when last read: an HDF5 log grows
    // inside chunks it has already allocated, its size unchanged.
    std::pair<qint64, QDateTime> followed_{-1, QDateTime()};
    bool recording_ = false;
    std::int64_t reconnects_ = 0;
    std::int64_t cutRuns_ = 0;
    LogPlot* plot_;
    LogPlot* overview_;
    QLabel* status_;
    QComboBox* channels_;
    QCheckBox* volts_;
    QCheckBox* utc_;
    QLabel* summary_;
    QLabel* readout_;
    QTimer* follow_;
    QLabel* figures_;
    std::optional<RunAnalysis> stretch_;
    std::pair<std::int64_t, std::int64_t> stretchSamples_{0, -1};
    std::unique_ptr<AnalysisWindow> analysis_;
    QPushButton* analyse_;
    FileChooser* files_;
    ConfirmPrompt* confirm_;
    QLineEdit* from_;
    QLineEdit* to_;
    QPushButton* export_;
};
