#include "PlotImage.h"

#include "GraphView.h"
#include "LabelMetrics.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPalette>

QImage PlotImage::Compose(const GraphView& view, const LabelMetrics& metrics)
{
    const QPalette palette = QGuiApplication::palette();
    QImage image(Area, QImage::Format_ARGB32);
    // The window's client area fills itself with the button colour.
    image.fill(palette.color(QPalette::Button));

    QPainter painter(&image);
    const PlainPaintBox& box = view.Box();
    painter.drawImage(QPoint(box.Left(), box.Top()) + box.ShownAt(), box.Shown());

    painter.setFont(metrics.Font());
    painter.setPen(palette.color(QPalette::WindowText));
    for (const MeasuredLabel* label : view.Labels()) {
        // A label draws its text left-aligned and centred in its height.
        painter.drawText(QRect(label->Left(), label->Top(), label->Width(), label->Height()),
                         Qt::AlignLeft | Qt::AlignVCenter, label->Caption());
    }
    painter.end();
    return image;
}
