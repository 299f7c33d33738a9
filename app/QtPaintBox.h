#pragma once

#include "PaintBox.h"
#include "PlotOverlay.h"

#include <QImage>
#include <QWidget>

// The paint area of the graph. It keeps the pixels last shown in a picture of
// its own size and repaints from it, so the window needs no paint handler; the
// ring the graph never draws stays transparent and shows the window behind.
class QtPaintBox : public QWidget, public PaintBox {
public:
    QtPaintBox(QWidget* parent, const QString& name, const QRect& geometry);

    int Left() const override;
    int Top() const override;
    int Width() const override;
    int Height() const override;
    void ShowPixels(const std::uint32_t* pixels, int width, int height, int stride, const PixelRect& target,
                    const PixelRect& source) override;

    // What the operator sees, for tests and screenshots: the graph's picture
    // and, over it, the readout and the zoom box.
    const QImage& Picture() const;
    const PlotOverlay& Overlay() const;

    // The readout (cursor and box) and the zoom box; each change repaints
    // the paint box from its picture.
    void SetReadout(const PlotOverlay& readout);
    void SetBand(const QRect& band);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QImage picture_;
    PlotOverlay overlay_;
};
