#include "QtPaintBox.h"

#include <QPainter>

namespace {

QImage TransparentPicture(const QSize& size)
{
    QImage picture(size, QImage::Format_ARGB32);
    picture.fill(Qt::transparent);
    return picture;
}

QRect ToQRect(const PixelRect& r)
{
    return QRect(QPoint(r.Left, r.Top), QSize(r.Right - r.Left, r.Bottom - r.Top));
}

} // namespace

QtPaintBox::QtPaintBox(QWidget* parent, const QString& name, const QRect& geometry)
    : QWidget(parent)
    , picture_(TransparentPicture(geometry.size()))
{
    setObjectName(name);
    setGeometry(geometry);
}

int QtPaintBox::Left() const
{
    return x();
}

int QtPaintBox::Top() const
{
    return y();
}

int QtPaintBox::Width() const
{
    return width();
}

int QtPaintBox::Height() const
{
    return height();
}

void QtPaintBox::ShowPixels(const std::uint32_t* pixels, int width, int height, int stride, const PixelRect& target,
                            const PixelRect& source)
{
    const QImage bitmap(reinterpret_cast<const uchar*>(pixels), width, height,
                        static_cast<qsizetype>(stride) * 4, QImage::Format_ARGB32);
    QPainter painter(&picture_);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(ToQRect(target).topLeft(), bitmap, ToQRect(source));
    painter.end();
    update();
}

const QImage& QtPaintBox::Picture() const
{
    return picture_;
}

const PlotOverlay& QtPaintBox::Overlay() const
{
    return overlay_;
}

void QtPaintBox::SetReadout(const PlotOverlay& readout)
{
    if (overlay_.IsEmpty() && readout.IsEmpty())
        return;
    const QRect band = overlay_.Band;
    overlay_ = readout;
    overlay_.Band = band;
    update();
}

void QtPaintBox::SetBand(const QRect& band)
{
    overlay_.Band = band;
    update();
}

void QtPaintBox::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawImage(0, 0, picture_);
    overlay_.Paint(painter, rect());
}

void QtPaintBox::resizeEvent(QResizeEvent*)
{
    // The graph redraws after every change of size, so an old picture of
    // another size is of no use; one of this size is kept.
    if (picture_.size() != size())
        picture_ = TransparentPicture(size());
}
