#pragma once

#include <QColor>
#include <QPoint>
#include <QRect>
#include <QString>

#include <vector>

class QPainter;

// What the paint box draws over the graph's picture: the readout's cursor
// line and text box, and the box being dragged out for a zoom. It is painted
// on every repaint of the paint box and never enters the graph's bitmap, so
// changing it costs a repaint, not a redraw.
struct PlotOverlay {
    struct Line {
        QString Text;
        QColor Colour;
    };

    // The cursor's column in paint-box pixels; none when negative.
    int CursorX = -1;
    // The readout's lines, placed beside this point (the mouse).
    QPoint ReadoutAt;
    std::vector<Line> Lines;
    // The zoom box being dragged; none when empty.
    QRect Band;

    bool IsEmpty() const { return CursorX < 0 && Lines.empty() && Band.isEmpty(); }
    // Draws into area (the paint box's own rectangle) with the painter's font.
    void Paint(QPainter& painter, const QRect& area) const;

private:
    void PaintLines(QPainter& painter, const QRect& area) const;
};
