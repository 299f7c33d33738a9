#pragma once

#include <QFont>
#include <QPointF>
#include <QRectF>
#include <QString>

class QPainter;

// One chart's box on a report page: the title above it, the framed plot
// area, tick marks with captions along the bottom and left edges and the
// two axis names. Positions inside the plot are fractions, 0 at the left or
// bottom edge, 1 at the right or top.
class ChartFrame {
public:
    ChartFrame(QPainter& painter, const QRectF& area, const QString& title, const QString& xName,
               const QString& yName);

    const QRectF& Plot() const { return plot_; }
    QPointF At(double xFraction, double yFraction) const;

    void XTick(double fraction, const QString& caption);
    void YTick(double fraction, const QString& caption);
    // A text in the middle of the plot, for a chart with nothing to show.
    void Note(const QString& text);

    // The page's font at a size in page units.
    static QFont Font(int pixels, bool bold = false);

private:
    void DrawNames(const QRectF& area, const QString& title, const QString& xName, const QString& yName);

    QPainter& painter_;
    QRectF plot_;
};
