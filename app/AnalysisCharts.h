#pragma once

#include <QWidget>

struct ChannelData;
struct RunAnalysis;

// The analysis window's charts: per channel its trace beside its code
// histogram, then the noise spectral density of all channels, drawn by the
// report page's own charts with the window's words.
class AnalysisCharts : public QWidget {
    Q_OBJECT
public:
    explicit AnalysisCharts(QWidget* parent);

    // Nothing is drawn without an analysis; all three must outlive the next
    // Show or Clear.
    void Show(const RunAnalysis* analysis, const ChannelData* ch0, const ChannelData* ch1);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const RunAnalysis* analysis_ = nullptr;
    const ChannelData* ch0_ = nullptr;
    const ChannelData* ch1_ = nullptr;
};
