#include "ColumnTrace.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>
#include <random>
#include <vector>

namespace {

constexpr std::uint32_t Red = Rgb(255, 0, 0);
constexpr int Width = 80;
constexpr int Height = 50;

// The plain way: one LineTo per sample.
template <typename Sample, typename XOf, typename RowOf>
Bitmap LineByLine(const std::vector<Sample>& samples, XOf xOf, RowOf rowOf)
{
    Bitmap bitmap;
    bitmap.SetSize(Width, Height);
    bitmap.SetPenColor(Red);
    bitmap.MoveTo(xOf(0), rowOf(samples[0]));
    for (std::int32_t i = 1; i < static_cast<std::int32_t>(samples.size()); ++i)
        bitmap.LineTo(xOf(i), rowOf(samples[static_cast<std::size_t>(i)]));
    return bitmap;
}

template <typename Sample, typename XOf, typename RowOf>
Bitmap ByColumns(const std::vector<Sample>& samples, XOf xOf, RowOf rowOf)
{
    Bitmap bitmap;
    bitmap.SetSize(Width, Height);
    bitmap.SetPenColor(Red);
    DrawColumnTrace(bitmap, samples.data(), static_cast<std::int32_t>(samples.size()), xOf, rowOf);
    return bitmap;
}

int Differences(const Bitmap& a, const Bitmap& b)
{
    int differences = 0;
    for (int y = 0; y < Height; ++y)
        for (int x = 0; x < Width; ++x)
            differences += a.Pixel(x, y) != b.Pixel(x, y);
    return differences;
}

int Painted(const Bitmap& bitmap)
{
    int painted = 0;
    for (int y = 0; y < Height; ++y)
        for (int x = 0; x < Width; ++x)
            painted += bitmap.Pixel(x, y) == Red;
    return painted;
}

std::function<int(std::int32_t)> ColumnsOf(double dx)
{
    return [dx](std::int32_t i) { return static_cast<int>(std::trunc(i * dx)) + 1; };
}

// Monotone mappings of a code to a row, from gentle to coarse to far off the
// bitmap (saturating at the int range like the graph's).
std::vector<std::function<int(std::int32_t)>> CodeMappings()
{
    const auto saturate = [](double row) {
        return static_cast<int>(std::clamp(std::trunc(row), -2147483648.0, 2147483647.0));
    };
    return {
        [=](std::int32_t code) { return saturate(Height * (1 - (code - 900.0) / 200.0)); },
        [=](std::int32_t code) { return saturate(Height * (1 - (code - 995.0) / 10.0)); },
        [=](std::int32_t code) { return saturate(1e9 * (1000.0 - code)); },
        [](std::int32_t code) { return (2000 - code) / 50; },
        [](std::int32_t) { return 20; },
    };
}

// Noise, flat stretches, steps and repeated extremes, so that runs end on a
// new extreme, on an old one, inside, and on trailing repeats.
std::vector<std::int32_t> AssortedCodes(std::mt19937& random, int count)
{
    std::uniform_int_distribution<int> pick(0, 99);
    std::vector<std::int32_t> codes;
    std::int32_t level = 1000;
    while (static_cast<int>(codes.size()) < count) {
        const int kind = pick(random);
        if (kind < 60)
            codes.push_back(level + pick(random) % 41 - 20);
        else if (kind < 75)
            codes.insert(codes.end(), static_cast<std::size_t>(pick(random) % 12), codes.empty() ? level : codes.back());
        else if (kind < 85)
            level = 900 + pick(random) * 2;
        else
            codes.push_back(pick(random) % 2 ? 800 : 1200);
    }
    codes.resize(static_cast<std::size_t>(count));
    return codes;
}

TEST(ColumnTrace, PaintsExactlyTheLinesOfEverySample)
{
    std::mt19937 random(9901);
    const double steps[] = {0.004, 0.07, 0.5, 1.0, 1.7, 0.0, -0.3};
    for (const auto& rowOf : CodeMappings()) {
        for (double dx : steps) {
            for (int round = 0; round < 6; ++round) {
                const std::vector<std::int32_t> codes = AssortedCodes(random, 2 + round * 700);
                const Bitmap expected = LineByLine(codes, ColumnsOf(dx), rowOf);
                EXPECT_EQ(Differences(ByColumns(codes, ColumnsOf(dx), rowOf), expected), 0)
                    << "dx " << dx << " round " << round;
            }
        }
    }
}

TEST(ColumnTrace, ARunEndingOnItsOnlyExtremeLeavesThatRow)
{
    const auto rowOf = [](std::int32_t code) { return 40 - code; };
    const auto oneColumn = [](std::int32_t) { return 5; };
    // Rows 30, 28, 29, then up to 20: the last line stops at row 21.
    const std::vector<std::int32_t> codes{10, 12, 11, 20};
    const Bitmap byColumns = ByColumns(codes, oneColumn, rowOf);
    EXPECT_EQ(Differences(byColumns, LineByLine(codes, oneColumn, rowOf)), 0);
    EXPECT_EQ(byColumns.Pixel(5, 21), Red);
    EXPECT_EQ(byColumns.Pixel(5, 20), Rgb(255, 255, 255));
    EXPECT_EQ(Painted(byColumns), 10);
}

TEST(ColumnTrace, FloatRunsWithNanOrInfinityMatchToo)
{
    std::mt19937 random(4242);
    std::uniform_real_distribution<float> value(-3.0f, 3.0f);
    std::uniform_int_distribution<int> pick(0, 99);
    const auto rowOf = [](float microvolts) {
        const long double row = Height * (1 - (static_cast<long double>(microvolts) + 2) / 4);
        if (std::isnan(row))
            return 0;
        return static_cast<int>(std::clamp(std::trunc(row), -2147483648.0L, 2147483647.0L));
    };
    for (int round = 0; round < 20; ++round) {
        std::vector<float> samples;
        for (int i = 0; i < 3000; ++i) {
            const int kind = pick(random);
            samples.push_back(kind == 0   ? std::numeric_limits<float>::quiet_NaN()
                              : kind == 1 ? std::numeric_limits<float>::infinity()
                              : kind == 2 ? -std::numeric_limits<float>::infinity()
                              : kind < 6  ? (kind % 2 ? 0.0f : -0.0f)
                                          : value(random));
        }
        const auto columns = ColumnsOf(0.02);
        EXPECT_EQ(Differences(ByColumns(samples, columns, rowOf), LineByLine(samples, columns, rowOf)), 0);
    }
}

} // namespace
