#include "GraphFakes.h"

void FakePaintBox::ShowPixels(const std::uint32_t* pixels, int width, int height, int stride,
                              const PixelRect& target, const PixelRect& source)
{
    ++ShowCount;
    LastSourceWidth = width;
    LastSourceHeight = height;
    LastTarget = target;
    LastSource = source;
    ScreenWidth = BoxWidth;
    Screen.assign(static_cast<std::size_t>(BoxWidth) * static_cast<std::size_t>(BoxHeight), 0);
    for (int y = source.Top; y < source.Bottom; ++y) {
        for (int x = source.Left; x < source.Right; ++x) {
            const int tx = target.Left + x - source.Left;
            const int ty = target.Top + y - source.Top;
            Screen[static_cast<std::size_t>(ty * ScreenWidth + tx)] = pixels[y * stride + x];
        }
    }
}

std::uint32_t FakePaintBox::Shown(int x, int y) const
{
    if (Screen.empty() || x < 0 || y < 0 || x >= ScreenWidth || y * ScreenWidth + x >= static_cast<int>(Screen.size()))
        return 0;
    return Screen[static_cast<std::size_t>(y * ScreenWidth + x)];
}
