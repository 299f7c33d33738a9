#pragma once

#include "ChannelData.h"
#include "MeasureSettings.h"
#include "RunAnalysis.h"

#include <QWidget>

#include <cstdint>
#include <memory>
#include <vector>

class AnalysisCharts;
class QLabel;
class QTableWidget;

// The noise analysis beside the main window: per channel held the noise
// table, the trace, the code histogram with its Gaussian and the noise
// spectral density with the largest spurs and mains hum, as the report page
// shows them. Non-modal and resizable; it shows what it was last given.
class AnalysisWindow : public QWidget {
    Q_OBJECT
public:
    explicit AnalysisWindow(QWidget* owner);
    ~AnalysisWindow() override;

    // Works out and shows a run. The samples are copied: a run that starts
    // later in the main window's arrays cannot change what is shown.
    void ShowRun(const QString& name, const MeasureSettings& settings, const ChannelData& ch0,
                 const ChannelData& ch1);
    // A stretch of a long log, worked out already by the streaming
    // analysis, each trace as column extremes: nothing of it is held.
    void ShowAnalysis(const RunAnalysis& analysis);
    // No data: the tables empty and a note in their place.
    void ShowEmpty();

    // What is shown; null in the empty state.
    const RunAnalysis* Analysis() const { return analysis_.get(); }

private:
    struct HeldChannel {
        std::vector<std::int32_t> Codes;
        std::vector<float> Microvolts;
        ChannelData Data{0, nullptr, nullptr};
    };

    static void Hold(HeldChannel& held, const ChannelData& channel);
    void FillNoiseTable();
    void FillSpurTable();

    QLabel* Heading = nullptr;
    QTableWidget* NoiseTable = nullptr;
    QLabel* DeviationNote = nullptr;
    AnalysisCharts* Charts = nullptr;
    QTableWidget* SpurTable = nullptr;

    HeldChannel ch0_;
    HeldChannel ch1_;
    std::unique_ptr<RunAnalysis> analysis_;
};
