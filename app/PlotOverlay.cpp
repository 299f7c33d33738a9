#include "PlotOverlay.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

namespace {

// The box keeps this far from the mouse, its text this far from its border.
constexpr int Offset = 12;
constexpr int Margin = 3;

} // namespace

void PlotOverlay::Paint(QPainter& painter, const QRect& area) const
{
    if (CursorX >= 0) {
        painter.setPen(QColor(0, 0, 0, 160));
        painter.drawLine(CursorX, area.top() + 1, CursorX, area.bottom() - 1);
    }
    if (!Band.isEmpty()) {
        painter.setPen(QPen(Qt::black, 1, Qt::DashLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(Band.normalized().adjusted(0, 0, -1, -1));
    }
    if (!Lines.empty())
        PaintLines(painter, area);
}

// Right of and below the mouse, moved left or up where the paint box ends.
void PlotOverlay::PaintLines(QPainter& painter, const QRect& area) const
{
    const QFontMetrics metrics = painter.fontMetrics();
    int width = 0;
    for (const Line& line : Lines)
        width = std::max(width, metrics.horizontalAdvance(line.Text));
    const QSize size(width + 2 * Margin, metrics.height() * static_cast<int>(Lines.size()) + 2 * Margin);
    QPoint corner = ReadoutAt + QPoint(Offset, Offset);
    if (corner.x() + size.width() > area.right())
        corner.setX(ReadoutAt.x() - Offset - size.width());
    if (corner.y() + size.height() > area.bottom())
        corner.setY(ReadoutAt.y() - Offset - size.height());
    const QRect box(corner, size);
    painter.setPen(QColor(128, 128, 128));
    painter.setBrush(QColor(255, 255, 255, 230));
    painter.drawRect(box.adjusted(0, 0, -1, -1));
    int baseline = box.top() + Margin + metrics.ascent();
    for (const Line& line : Lines) {
        painter.setPen(line.Colour);
        painter.drawText(box.left() + Margin, baseline, line.Text);
        baseline += metrics.height();
    }
}
