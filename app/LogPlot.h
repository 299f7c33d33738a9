#pragma once

#include "Bitmap.h"
#include "LogEnvelope.h"
#include "LogRecords.h"
#include "LogTimeline.h"
#include "ZoomRange.h"

#include <QWidget>

#include <vector>

class LogSource;
class PlotNavigator;

// The log window's plot: the stretch of the log in view as each pixel
// column's lowest and highest code (every spike shows, at any zoom), or the
// samples joined by lines once there are no more than two a column; CH0
// red, CH1 blue, as on the main graph. Below it the time of day; run starts
// are drawn as dotted lines and events as marks on the time axis, whose
// text a hover shows. Zoom and pan as on the main graph (PlotNavigator).
class LogPlot : public QWidget {
    Q_OBJECT
public:
    static constexpr int LeftMargin = 80;
    static constexpr int BottomMargin = 36;
    static constexpr int MarkSize = 5;

    explicit LogPlot(QWidget* parent = nullptr);

    // The log shown from now on (not owned); the whole log in view.
    void Show(LogSource* log, LogTimeline timeline, const std::vector<LogEvent>& events);
    // The same log grown (reopened as it is written): the view keeps its
    // place, unless it showed the end, which it then follows at its zoom.
    // `before` is the samples the log held when it was let go.
    void Grow(LogSource* log, LogTimeline timeline, const std::vector<LogEvent>& events, std::int64_t before);
    // Shows no log until Show or Grow gives one: the log it showed is to be
    // closed (HDF5 shows a file opened twice in one process as it was first
    // read, so a growing log is closed before it is opened again).
    void Release();
    // Which of the log's columns are drawn: bit 0 the first, bit 1 the second.
    void SetChannels(int mask);
    void SetVolts(bool volts);
    void SetUtc(bool utc);

    const ZoomRange& View() const { return view_; }
    // The whole log, as a double-click does.
    void ShowAll();
    void ShowSamples(std::int64_t first, std::int64_t last);
    // Centres the view, at its zoom, on the first event after its centre;
    // false when there is none.
    bool ShowNextEvent();
    // The block of the log's summaries with the largest σ among those in
    // view, at the level the picture came from (at least the first): shows
    // it and gives its samples; nothing when the log has no summaries or
    // the view holds no whole block.
    std::optional<std::pair<std::int64_t, std::int64_t>> ShowNoisiestBlock();
    // The stretch whose figures are wanted, as a Shift-drag chooses it;
    // shaded until another is chosen or the log changes.
    void SelectSamples(std::int64_t first, std::int64_t last);
    // The sample under column x of the plot area, and x of a sample.
    std::int64_t SampleAt(int x) const;
    int ColumnOf(std::int64_t sample) const;
    // What the readout says of column x, and of a mark near it.
    QString ReadoutAt(int x) const;
    QString MarkAt(int x) const;
    // The picture of the plot area as last drawn.
    const Bitmap& Picture() const { return picture_; }
    const LogEnvelope& Envelope() const { return envelope_; }
    const LogTimeline& Timeline() const { return timeline_; }

signals:
    void Readout(const QString& text);
    void Failed(const QString& reason);
    void StretchChosen(std::int64_t first, std::int64_t last);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    struct Mark {
        std::int64_t Sample;
        QString Text;
    };

    QRect PlotArea() const;
    std::optional<std::int64_t> MarkPlace(const LogEvent& event) const;
    void Take(LogSource* log, LogTimeline timeline, const std::vector<LogEvent>& events);
    void Refresh();
    void DrawPicture();
    void DrawEnvelope(int channel, std::uint32_t colour, double low, double high);
    double ValueOf(float code) const;
    // Which channel, 0 or 1, the log's column of codes holds.
    int LogChannel(int column) const;
    void ZoomSamples(double factor, QPoint at);
    void ZoomValues(double factor, QPoint at);
    void Pan(int columns, int rows);
    void ZoomToBox(const QRect& box);
    void Hover(QPoint at);

    LogSource* log_ = nullptr;
    LogTimeline timeline_;
    std::vector<Mark> marks_;
    int channels_ = 3;
    bool volts_ = false;
    bool utc_ = true;
    ZoomRange view_;
    std::optional<std::pair<std::int64_t, std::int64_t>> stretch_;
    double shownLow_ = 0.0;  // the codes at the plot's bottom and top rows
    double shownHigh_ = 1.0;
    LogEnvelope envelope_;
    Bitmap picture_;
    PlotNavigator* navigator_ = nullptr;
};
