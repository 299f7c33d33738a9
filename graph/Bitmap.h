#pragma once

#include "PaintBox.h"

#include <cstdint>
#include <vector>

// 0xFFRRGGBB, the pixel format of Bitmap and of PaintBox::ShowPixels.
constexpr std::uint32_t Rgb(std::uint32_t red, std::uint32_t green, std::uint32_t blue)
{
    return 0xFF000000u | (red << 16) | (green << 8) | blue;
}

// The graph's off-screen picture: 32-bit pixels, row after row, no padding.
// Everything drawn is clipped to the bitmap.
//
// Line rule (LineTo from the pen position P to Q): with n = max(|dx|, |dy|)
// the line paints n pixels, k = 0 .. n-1. Along the major axis (x when
// |dx| >= |dy|) pixel k lies k steps from P; along the minor axis it lies
// round(k * |dminor| / n) steps from P, an exact half staying on P's side.
// Q itself is left unpainted, so a chain of LineTo calls paints every joint
// once and only the chain's last point not at all; a line from a point to
// itself paints nothing.
class Bitmap {
public:
    // Sizes below zero count as zero. A new size starts all white; the same
    // size keeps the picture.
    void SetSize(int width, int height);
    int Width() const { return PixelWidth; }
    int Height() const { return PixelHeight; }
    // Row y starts at Pixels() + y * Width().
    const std::uint32_t* Pixels() const { return Data.data(); }
    // The pixel at (x, y); 0 outside the bitmap.
    std::uint32_t Pixel(int x, int y) const;

    void FillRect(const PixelRect& rect, std::uint32_t colour);
    void SetPenColor(std::uint32_t colour);
    void MoveTo(int x, int y);
    void LineTo(int x, int y);

private:
    void PaintLine(std::int64_t x1, std::int64_t y1, std::int64_t x2, std::int64_t y2);
    void PaintColumn(std::int64_t x, std::int64_t y1, std::int64_t y2);

    int PixelWidth = 0;
    int PixelHeight = 0;
    std::vector<std::uint32_t> Data;
    std::uint32_t Pen = Rgb(0, 0, 0);
    int PenX = 0;
    int PenY = 0;
};
