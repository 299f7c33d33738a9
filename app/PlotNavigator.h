#pragma once

#include <QObject>
#include <QPoint>
#include <QRect>

#include <functional>

class QKeyEvent;
class QMouseEvent;
class QWheelEvent;
class QWidget;

// Turns the mouse and the keyboard over the plot into zoom, pan and readout
// requests, in paint-box pixels. The wheel zooms the samples around the
// mouse, with Shift the values; the left button drags the picture along; the
// right button, or Ctrl with the left, drags out a box to zoom to; a
// double-click shows the whole run again. Where selecting is enabled,
// Shift with the left button drags out a stretch. With the plot focused, + and -
// zoom, the arrow keys pan and Home shows the whole run. While accepts()
// says no (a run, no data), it asks for nothing but the readout's end.
class PlotNavigator : public QObject {
    Q_OBJECT
public:
    // One wheel notch or key press.
    static constexpr double SampleZoomStep = 0.8;
    // The value axis snaps to the series 1, 2, 5, 10, ...: a notch halves it.
    static constexpr double ValueZoomStep = 0.5;

    PlotNavigator(QWidget* plot, std::function<bool()> accepts);
    void EnableSelecting() { Selecting = true; }

signals:
    void ZoomSamples(double factor, QPoint at);
    void ZoomValues(double factor, QPoint at);
    void Pan(int columns, int rows);
    void ZoomToBox(const QRect& box);
    // A stretch dragged out with Shift, from one column to another.
    void Selected(int fromX, int toX);
    void BandChanged(const QRect& band);
    void Fit();
    void Hover(QPoint at);
    void HoverEnded();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class Drag { None, Pan, Box, Select };

    bool Wheel(const QWheelEvent& event);
    bool Press(const QMouseEvent& event);
    bool Move(const QMouseEvent& event);
    bool Release(const QMouseEvent& event);
    bool DoubleClick(const QMouseEvent& event);
    bool Key(const QKeyEvent& event);
    QPoint Centre() const;

    QWidget* Plot;
    std::function<bool()> Accepts;
    Drag Dragging = Drag::None;
    bool Selecting = false;
    QPoint DragFrom;
    QPoint LastAt;
};
