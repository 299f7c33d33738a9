#pragma once

#include "AxisLabel.h"
#include "PaintBox.h"

#include <cstdint>
#include <vector>

// A label whose size follows its caption: 6 pixels a character, 12 high.
class FakeAxisLabel : public AxisLabel {
public:
    static constexpr int CharWidth = 6;

    QString Caption() const override { return Text; }
    void SetCaption(const QString& caption) override { Text = caption; }
    int Left() const override { return X; }
    int Top() const override { return Y; }
    void SetLeft(int left) override { X = left; }
    void SetTop(int top) override { Y = top; }
    int Width() const override { return CharWidth * static_cast<int>(Text.size()); }
    int Height() const override { return 12; }

private:
    QString Text = QStringLiteral("8388608");
    int X = -1000;
    int Y = -1000;
};

// A paint box at the window's design place and size that keeps the last
// picture shown, in paint-box coordinates (0 = never painted).
class FakePaintBox : public PaintBox {
public:
    int Left() const override { return 72; }
    int Top() const override { return 24; }
    int Width() const override { return BoxWidth; }
    int Height() const override { return BoxHeight; }
    void ShowPixels(const std::uint32_t* pixels, int width, int height, int stride, const PixelRect& target,
                    const PixelRect& source) override;

    std::uint32_t Shown(int x, int y) const;

    int BoxWidth = 528;
    int BoxHeight = 372;
    int ShowCount = 0;
    int LastSourceWidth = 0;
    int LastSourceHeight = 0;
    PixelRect LastTarget;
    PixelRect LastSource;

private:
    std::vector<std::uint32_t> Screen;
    int ScreenWidth = 0;
};
