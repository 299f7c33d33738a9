#include "Bitmap.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <limits>
#include <random>
#include <utility>
#include <vector>

namespace {

constexpr std::uint32_t White = Rgb(255, 255, 255);
constexpr std::uint32_t Black = Rgb(0, 0, 0);
constexpr std::uint32_t Red = Rgb(255, 0, 0);
constexpr std::uint32_t Blue = Rgb(0, 0, 255);

using Points = std::vector<std::pair<int, int>>;

Points PixelsOf(const Bitmap& bitmap, std::uint32_t colour)
{
    Points points;
    for (int y = 0; y < bitmap.Height(); ++y)
        for (int x = 0; x < bitmap.Width(); ++x)
            if (bitmap.Pixel(x, y) == colour)
                points.emplace_back(x, y);
    return points;
}

Bitmap WhiteBitmap(int width, int height)
{
    Bitmap bitmap;
    bitmap.SetSize(width, height);
    return bitmap;
}

// The line rule written out pixel by pixel, without clipping tricks or the
// column shortcut: the bitmap must paint exactly these pixels.
class ReferenceCanvas {
public:
    ReferenceCanvas(int width, int height)
        : Width(width), Height(height), Data(static_cast<std::size_t>(width * height), White)
    {
    }

    void Line(int x1, int y1, int x2, int y2, std::uint32_t colour)
    {
        const long long dx = x2 - x1;
        const long long dy = y2 - y1;
        const long long n = std::max(std::llabs(dx), std::llabs(dy));
        for (long long k = 0; k < n; ++k) {
            long long x = 0;
            long long y = 0;
            if (std::llabs(dx) >= std::llabs(dy)) {
                x = x1 + k * (dx > 0 ? 1 : -1);
                y = y1 + (dy >= 0 ? 1 : -1) * ((2 * k * std::llabs(dy) + n - 1) / (2 * n));
            } else {
                y = y1 + k * (dy > 0 ? 1 : -1);
                x = x1 + (dx >= 0 ? 1 : -1) * ((2 * k * std::llabs(dx) + n - 1) / (2 * n));
            }
            if (x >= 0 && y >= 0 && x < Width && y < Height)
                Data[static_cast<std::size_t>(y * Width + x)] = colour;
        }
    }

    void Fill(int left, int top, int right, int bottom, std::uint32_t colour)
    {
        for (int y = std::max(top, 0); y < std::min(bottom, Height); ++y)
            for (int x = std::max(left, 0); x < std::min(right, Width); ++x)
                Data[static_cast<std::size_t>(y * Width + x)] = colour;
    }

    std::uint32_t Pixel(int x, int y) const { return Data[static_cast<std::size_t>(y * Width + x)]; }

    const int Width;
    const int Height;

private:
    std::vector<std::uint32_t> Data;
};

void ExpectSamePicture(const Bitmap& bitmap, const ReferenceCanvas& reference)
{
    int differences = 0;
    for (int y = 0; y < reference.Height; ++y)
        for (int x = 0; x < reference.Width; ++x)
            differences += bitmap.Pixel(x, y) != reference.Pixel(x, y);
    EXPECT_EQ(differences, 0);
}

TEST(BitmapLineRule, MinorStepsRoundToNearestWithHalvesOnTheStartSide)
{
    Bitmap bitmap = WhiteBitmap(8, 8);
    bitmap.SetPenColor(Black);
    bitmap.MoveTo(0, 0);
    bitmap.LineTo(4, 2);
    EXPECT_EQ(PixelsOf(bitmap, Black), (Points{{0, 0}, {1, 0}, {2, 1}, {3, 1}}));

    Bitmap backwards = WhiteBitmap(8, 8);
    backwards.SetPenColor(Black);
    backwards.MoveTo(2, 1);
    backwards.LineTo(0, 0);
    EXPECT_EQ(PixelsOf(backwards, Black), (Points{{1, 1}, {2, 1}}));

    Bitmap steep = WhiteBitmap(8, 8);
    steep.SetPenColor(Black);
    steep.MoveTo(1, 0);
    steep.LineTo(4, 5);
    EXPECT_EQ(PixelsOf(steep, Black), (Points{{1, 0}, {2, 1}, {2, 2}, {3, 3}, {3, 4}}));
}

TEST(BitmapLineRule, ChainPaintsEveryJointOnceAndLeavesItsLastPoint)
{
    Bitmap bitmap = WhiteBitmap(10, 10);
    bitmap.SetPenColor(Black);
    bitmap.MoveTo(1, 1);
    bitmap.LineTo(5, 1);
    bitmap.LineTo(5, 5);
    bitmap.LineTo(5, 5);  // a line to the pen position paints nothing
    bitmap.LineTo(1, 5);
    EXPECT_EQ(bitmap.Pixel(1, 1), Black);
    EXPECT_EQ(bitmap.Pixel(5, 1), Black);
    EXPECT_EQ(bitmap.Pixel(5, 5), Black);
    EXPECT_EQ(bitmap.Pixel(1, 5), White);
    EXPECT_EQ(PixelsOf(bitmap, Black).size(), 12u);
}

TEST(BitmapClipping, LinesFromFarOutsideKeepTheirExactPixels)
{
    Bitmap bitmap = WhiteBitmap(10, 10);
    bitmap.SetPenColor(Black);
    bitmap.MoveTo(-1000000000, 5);
    bitmap.LineTo(1000000000, 5);
    EXPECT_EQ(PixelsOf(bitmap, Black).size(), 10u);

    // 4e9 steps: the half-way step lands on row 0 and stays in column 3.
    Bitmap steep = WhiteBitmap(10, 10);
    steep.SetPenColor(Black);
    steep.MoveTo(3, -2000000000);
    steep.LineTo(4, 2000000000);
    Points expected{{3, 0}};
    for (int y = 1; y < 10; ++y)
        expected.emplace_back(4, y);
    EXPECT_EQ(PixelsOf(steep, Black), expected);

    Bitmap diagonal = WhiteBitmap(10, 10);
    diagonal.SetPenColor(Black);
    diagonal.MoveTo(std::numeric_limits<int>::min(), std::numeric_limits<int>::min());
    diagonal.LineTo(std::numeric_limits<int>::max(), std::numeric_limits<int>::max());
    Points onDiagonal;
    for (int i = 0; i < 10; ++i)
        onDiagonal.emplace_back(i, i);
    EXPECT_EQ(PixelsOf(diagonal, Black), onDiagonal);
}

TEST(BitmapClipping, FillAndPixelStayInsideTheBitmap)
{
    Bitmap bitmap = WhiteBitmap(6, 4);
    bitmap.FillRect({-5, 2, 3, 100}, Red);
    EXPECT_EQ(PixelsOf(bitmap, Red), (Points{{0, 2}, {1, 2}, {2, 2}, {0, 3}, {1, 3}, {2, 3}}));
    bitmap.FillRect({4, 1, 2, 3}, Blue);  // right before left: nothing
    EXPECT_TRUE(PixelsOf(bitmap, Blue).empty());
    EXPECT_EQ(bitmap.Pixel(-1, 0), 0u);
    EXPECT_EQ(bitmap.Pixel(6, 0), 0u);
    EXPECT_EQ(bitmap.Pixel(0, 4), 0u);
}

TEST(BitmapSize, NegativeIsEmptyAndANewSizeStartsWhite)
{
    Bitmap bitmap;
    bitmap.SetSize(-3, 5);
    EXPECT_EQ(bitmap.Width(), 0);
    EXPECT_EQ(bitmap.Height(), 5);
    bitmap.SetPenColor(Black);
    bitmap.MoveTo(-10, -10);
    bitmap.LineTo(10, 10);

    bitmap.SetSize(4, 3);
    bitmap.FillRect({0, 0, 4, 3}, Red);
    bitmap.SetSize(4, 3);
    EXPECT_EQ(PixelsOf(bitmap, Red).size(), 12u);
    bitmap.SetSize(3, 4);
    EXPECT_EQ(PixelsOf(bitmap, White).size(), 12u);
}

// Chains like a trace's: long vertical runs in one column, a slanted step to
// the next, colours and fills in between, parts off the bitmap.
TEST(BitmapLineRule, ChainsPaintExactlyWhatTheRuleSays)
{
    constexpr int width = 60;
    constexpr int height = 40;
    std::mt19937 random(20240611);
    std::uniform_int_distribution<int> row(-15, height + 15);
    std::uniform_int_distribution<int> percent(0, 99);
    for (int round = 0; round < 40; ++round) {
        Bitmap bitmap = WhiteBitmap(width, height);
        ReferenceCanvas reference(width, height);
        std::uint32_t colour = Red;
        bitmap.SetPenColor(colour);
        int x = -2;
        int y = row(random);
        bitmap.MoveTo(x, y);
        for (int step = 0; step < 3000; ++step) {
            const int event = percent(random);
            if (event < 2) {
                colour = colour == Red ? Blue : Red;
                bitmap.SetPenColor(colour);
            } else if (event < 4) {
                const int left = row(random);
                bitmap.FillRect({left, left, left + 7, left + 5}, White);
                reference.Fill(left, left, left + 7, left + 5, White);
            }
            const int move = percent(random);
            const int nextX = move < 4 + round % 20 ? x + 1 + move % 2 : x;
            const int nextY = move % 7 == 0 ? y : row(random);
            bitmap.LineTo(nextX, nextY);
            reference.Line(x, y, nextX, nextY, colour);
            x = nextX;
            y = nextY;
            if (x > width + 2)
                break;
        }
        ExpectSamePicture(bitmap, reference);
    }
}

} // namespace
