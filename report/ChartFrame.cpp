#include "ChartFrame.h"

#include <QPainter>

namespace {

constexpr double LeftRoom = 44.0;
constexpr double BottomRoom = 24.0;
constexpr double TopRoom = 13.0;
constexpr double RightRoom = 6.0;
constexpr double TickLength = 3.0;
constexpr int CaptionPixels = 7;
constexpr int TitlePixels = 9;
const QColor FrameColour(90, 90, 90);
const QColor GridColour(225, 225, 225);

} // namespace

QFont ChartFrame::Font(int pixels, bool bold)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

ChartFrame::ChartFrame(QPainter& painter, const QRectF& area, const QString& title, const QString& xName,
                       const QString& yName)
    : painter_(painter)
    , plot_(area.adjusted(LeftRoom, TopRoom, -RightRoom, -BottomRoom))
{
    painter_.save();
    painter_.setPen(QPen(FrameColour, 0.6));
    painter_.setBrush(Qt::NoBrush);
    painter_.drawRect(plot_);
    painter_.restore();
    DrawNames(area, title, xName, yName);
}

QPointF ChartFrame::At(double xFraction, double yFraction) const
{
    return {plot_.left() + xFraction * plot_.width(), plot_.bottom() - yFraction * plot_.height()};
}

void ChartFrame::XTick(double fraction, const QString& caption)
{
    const QPointF base = At(fraction, 0.0);
    painter_.save();
    painter_.setPen(QPen(GridColour, 0.4));
    painter_.drawLine(At(fraction, 0.0), At(fraction, 1.0));
    painter_.setPen(QPen(FrameColour, 0.6));
    painter_.drawLine(base, base + QPointF(0.0, TickLength));
    painter_.setFont(Font(CaptionPixels));
    painter_.drawText(QRectF(base.x() - 30.0, base.y() + TickLength, 60.0, 9.0), Qt::AlignHCenter | Qt::AlignTop,
                      caption);
    painter_.restore();
}

void ChartFrame::YTick(double fraction, const QString& caption)
{
    const QPointF base = At(0.0, fraction);
    painter_.save();
    painter_.setPen(QPen(GridColour, 0.4));
    painter_.drawLine(At(0.0, fraction), At(1.0, fraction));
    painter_.setPen(QPen(FrameColour, 0.6));
    painter_.drawLine(base, base - QPointF(TickLength, 0.0));
    painter_.setFont(Font(CaptionPixels));
    painter_.drawText(QRectF(base.x() - LeftRoom, base.y() - 5.0, LeftRoom - TickLength - 1.0, 10.0),
                      Qt::AlignRight | Qt::AlignVCenter, caption);
    painter_.restore();
}

void ChartFrame::Note(const QString& text)
{
    painter_.save();
    painter_.setFont(Font(TitlePixels));
    painter_.setPen(FrameColour);
    painter_.drawText(plot_, Qt::AlignCenter | Qt::TextWordWrap, text);
    painter_.restore();
}

void ChartFrame::DrawNames(const QRectF& area, const QString& title, const QString& xName, const QString& yName)
{
    painter_.save();
    painter_.setPen(Qt::black);
    painter_.setFont(Font(TitlePixels, true));
    painter_.drawText(QRectF(plot_.left(), area.top(), plot_.width(), TopRoom - 2.0), Qt::AlignLeft | Qt::AlignBottom,
                      title);
    painter_.setFont(Font(CaptionPixels));
    painter_.drawText(QRectF(plot_.left(), plot_.bottom() + 12.0, plot_.width(), 10.0), Qt::AlignHCenter, xName);
    painter_.translate(area.left() + 1.0, plot_.center().y());
    painter_.rotate(-90.0);
    painter_.drawText(QRectF(-plot_.height() / 2.0, 0.0, plot_.height(), 9.0), Qt::AlignHCenter | Qt::AlignTop, yName);
    painter_.restore();
}
