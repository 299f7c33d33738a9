#pragma once

#include "RunAnalysis.h"

#include <QWidget>

#include <cstdint>
#include <memory>
#include <optional>

class AnalysisWindow;
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
class LogWindow : public QWidget {
    Q_OBJECT
public:
    explicit LogWindow(QWidget* parent = nullptr);
    ~LogWindow() override;

    // The log from now on; false with the reason (naming the file), the
    // window showing what it showed before.
    bool Open(const QString& path, QString& error);
    LogPlot* Plot() const { return plot_; }
    QString Summary() const;
    // The exact figures of the stretch chosen last, from its codes by the
    // streaming analysis; nothing before one is chosen or when cancelled.
    const std::optional<RunAnalysis>& Stretch() const { return stretch_; }
    // The stretch's noise analysis in the analysis window ("ノイズ解析"),
    // made on first use beside this window; null before.
    AnalysisWindow* Analysis() const { return analysis_.get(); }
    void ShowStretchAnalysis();

private:
    void ChooseChannels();
    void OfferChannels();
    void Analyse(std::int64_t first, std::int64_t last);
    void FollowGrowth();
    // The log as it stands, its timeline and events; false with the reason.
    struct Opened;
    static bool Load(const QString& path, Opened& opened, QString& error);
    static QString FiguresText(const RunAnalysis& analysis);

    std::unique_ptr<LogSource> log_;
    QString path_;
    qint64 followedSize_ = -1;
    LogPlot* plot_;
    QComboBox* channels_;
    QCheckBox* volts_;
    QCheckBox* utc_;
    QLabel* summary_;
    QLabel* readout_;
    QTimer* follow_;
    QLabel* figures_;
    std::optional<RunAnalysis> stretch_;
    std::unique_ptr<AnalysisWindow> analysis_;
    QPushButton* analyse_;
};
