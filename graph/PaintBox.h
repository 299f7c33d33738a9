#pragma once

#include <cstdint>

// A rectangle in pixels, right and bottom excluded.
struct PixelRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
};

// The paint area the graph's bitmap is shown in, as the graph sees it. The
// window implements it with a widget that keeps the last picture and repaints
// it; the tests with a plain object.
class PaintBox {
public:
    virtual ~PaintBox() = default;

    virtual int Left() const = 0;
    virtual int Top() const = 0;
    virtual int Width() const = 0;
    virtual int Height() const = 0;

    // Copies source (bitmap coordinates) of the 32-bit 0xAARRGGBB pixels,
    // stride pixels a row, one to one onto target (paint-box coordinates).
    virtual void ShowPixels(const std::uint32_t* pixels, int width, int height, int stride,
                            const PixelRect& target, const PixelRect& source) = 0;
};
