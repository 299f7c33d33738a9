#include "PlainPaintBox.h"

PlainPaintBox::PlainPaintBox(const QRect& geometry)
    : geometry_(geometry)
{
}

int PlainPaintBox::Left() const
{
    return geometry_.x();
}

int PlainPaintBox::Top() const
{
    return geometry_.y();
}

int PlainPaintBox::Width() const
{
    return geometry_.width();
}

int PlainPaintBox::Height() const
{
    return geometry_.height();
}

void PlainPaintBox::ShowPixels(const std::uint32_t* pixels, int width, int height, int stride,
                               const PixelRect& target, const PixelRect& source)
{
    // The graph's pixels are only borrowed for the call: keep a deep copy.
    const QImage bitmap(reinterpret_cast<const uchar*>(pixels), width, height, static_cast<qsizetype>(stride) * 4,
                        QImage::Format_ARGB32);
    shown_ = bitmap.copy(source.Left, source.Top, source.Right - source.Left, source.Bottom - source.Top);
    shownAt_ = QPoint(target.Left, target.Top);
}
