#pragma once

#include "PaintBox.h"

#include <QImage>
#include <QPoint>
#include <QRect>

// The window's paint box without a window: a fixed place and size, and the
// last picture the graph copied into it with the point (in paint-box
// coordinates) it was copied to. The graph always copies its whole bitmap,
// so the last copy is the whole picture.
class PlainPaintBox : public PaintBox {
public:
    explicit PlainPaintBox(const QRect& geometry);

    int Left() const override;
    int Top() const override;
    int Width() const override;
    int Height() const override;
    void ShowPixels(const std::uint32_t* pixels, int width, int height, int stride, const PixelRect& target,
                    const PixelRect& source) override;

    const QImage& Shown() const { return shown_; }
    QPoint ShownAt() const { return shownAt_; }

private:
    QRect geometry_;
    QImage shown_;
    QPoint shownAt_;
};
