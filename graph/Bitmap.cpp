#include "Bitmap.h"

#include <algorithm>

namespace {

constexpr std::uint32_t White = Rgb(255, 255, 255);

std::int64_t SignOf(std::int64_t value)
{
    return (value > 0) - (value < 0);
}

std::int64_t Magnitude(std::int64_t value)
{
    return value < 0 ? -value : value;
}

} // namespace

void Bitmap::SetSize(int width, int height)
{
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (width == PixelWidth && height == PixelHeight)
        return;
    PixelWidth = width;
    PixelHeight = height;
    Data.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), White);
}

std::uint32_t Bitmap::Pixel(int x, int y) const
{
    if (x < 0 || y < 0 || x >= PixelWidth || y >= PixelHeight)
        return 0;
    return Data[static_cast<std::size_t>(y) * static_cast<std::size_t>(PixelWidth) + static_cast<std::size_t>(x)];
}

void Bitmap::FillRect(const PixelRect& rect, std::uint32_t colour)
{
    const int left = std::max(rect.Left, 0);
    const int top = std::max(rect.Top, 0);
    const int right = std::min(rect.Right, PixelWidth);
    const int bottom = std::min(rect.Bottom, PixelHeight);
    if (left >= right || top >= bottom)
        return;
    // One row pixel by pixel, the others copied from it: a clear of the whole
    // plot runs at memory speed.
    const std::size_t width = static_cast<std::size_t>(PixelWidth);
    std::uint32_t* first = Data.data() + static_cast<std::size_t>(top) * width + static_cast<std::size_t>(left);
    std::fill(first, first + (right - left), colour);
    for (int y = top + 1; y < bottom; ++y)
        std::copy(first, first + (right - left), first + static_cast<std::size_t>(y - top) * width);
}

void Bitmap::SetPenColor(std::uint32_t colour)
{
    Pen = colour;
}

void Bitmap::MoveTo(int x, int y)
{
    PenX = x;
    PenY = y;
}

void Bitmap::LineTo(int x, int y)
{
    if (x == PenX)
        PaintColumn(x, PenY, y);
    else
        PaintLine(PenX, PenY, x, y);
    PenX = x;
    PenY = y;
}

void Bitmap::PaintLine(std::int64_t x1, std::int64_t y1, std::int64_t x2, std::int64_t y2)
{
    const bool xMajor = Magnitude(x2 - x1) >= Magnitude(y2 - y1);
    const std::int64_t major1 = xMajor ? x1 : y1;
    const std::int64_t minor1 = xMajor ? y1 : x1;
    const std::int64_t majorStep = SignOf(xMajor ? x2 - x1 : y2 - y1);
    const std::int64_t minorStep = SignOf(xMajor ? y2 - y1 : x2 - x1);
    const std::uint64_t n = static_cast<std::uint64_t>(Magnitude(xMajor ? x2 - x1 : y2 - y1));
    const std::uint64_t minorDelta = static_cast<std::uint64_t>(Magnitude(xMajor ? y2 - y1 : x2 - x1));
    const std::int64_t majorLimit = xMajor ? PixelWidth : PixelHeight;
    const std::int64_t minorLimit = xMajor ? PixelHeight : PixelWidth;

    // Only the steps whose major coordinate lies on the bitmap are visited, so
    // a line from far outside costs no more than one across the bitmap.
    std::int64_t firstStep = 0;
    std::int64_t lastStep = static_cast<std::int64_t>(n) - 1;
    if (majorStep > 0) {
        firstStep = std::max(firstStep, -major1);
        lastStep = std::min(lastStep, majorLimit - 1 - major1);
    } else {
        firstStep = std::max(firstStep, major1 - (majorLimit - 1));
        lastStep = std::min(lastStep, major1);
    }
    if (firstStep > lastStep)
        return;
    // k * minorDelta / n as quotient and remainder, kept up to date step by
    // step. k and both deltas stay below 2^32, so the first product fits.
    const std::uint64_t product = static_cast<std::uint64_t>(firstStep) * minorDelta;
    std::uint64_t quotient = product / n;
    std::uint64_t remainder = product % n;
    for (std::int64_t k = firstStep; k <= lastStep; ++k) {
        const std::int64_t offset = static_cast<std::int64_t>(quotient + (2 * remainder > n ? 1 : 0));
        remainder += minorDelta;  // minorDelta <= n: at most one carry
        if (remainder >= n) {
            remainder -= n;
            ++quotient;
        }
        const std::int64_t major = major1 + k * majorStep;
        const std::int64_t minor = minor1 + offset * minorStep;
        if (minor < 0 || minor >= minorLimit)
            continue;
        const std::int64_t x = xMajor ? major : minor;
        const std::int64_t y = xMajor ? minor : major;
        Data[static_cast<std::size_t>(y * PixelWidth + x)] = Pen;
    }
}

// A vertical line, the commonest in a trace, row by row down the column.
void Bitmap::PaintColumn(std::int64_t x, std::int64_t y1, std::int64_t y2)
{
    if (y1 == y2 || x < 0 || x >= PixelWidth)
        return;
    const std::int64_t top = std::max<std::int64_t>(y2 > y1 ? y1 : y2 + 1, 0);
    const std::int64_t bottom = std::min<std::int64_t>(y2 > y1 ? y2 - 1 : y1, PixelHeight - 1);
    if (top > bottom)
        return;
    std::uint32_t* pixel = Data.data() + top * PixelWidth + x;
    for (std::int64_t y = top; y <= bottom; ++y, pixel += PixelWidth)
        *pixel = Pen;
}
