#pragma once

#include "Bitmap.h"

#include <algorithm>
#include <cstdint>

// The vertical lines of samples first..last on column x; returns the row of
// the last one.
template <typename Sample, typename RowOf>
int DrawColumnRun(Bitmap& plot, const Sample* samples, std::int32_t first, std::int32_t last, int x,
                  RowOf rowOf)
{
    bool unordered = false;
    for (std::int32_t i = first; i <= last; ++i)
        unordered |= samples[i] != samples[i];
    if (unordered) {
        plot.MoveTo(x, rowOf(samples[first]));
        for (std::int32_t i = first + 1; i <= last; ++i)
            plot.LineTo(x, rowOf(samples[i]));
        return rowOf(samples[last]);
    }

    const int lastRow = rowOf(samples[last]);
    std::int32_t before = last - 1;  // the last sample on another row
    while (before >= first && (samples[before] == samples[last] || rowOf(samples[before]) == lastRow))
        --before;
    if (before < first)
        return lastRow;  // every line of the run has length zero

    Sample smallest = samples[first];
    Sample largest = samples[first];
    for (std::int32_t i = first + 1; i <= before; ++i) {
        smallest = std::min(smallest, samples[i]);
        largest = std::max(largest, samples[i]);
    }
    int top = rowOf(largest);
    int bottom = rowOf(smallest);
    if (lastRow < top)
        top = lastRow + 1;
    else if (lastRow > bottom)
        bottom = lastRow - 1;

    // Rows off the bitmap are cut to one row beyond it, which paints the
    // same and keeps bottom + 1 in range.
    top = std::max(top, -1);
    bottom = std::min(bottom, plot.Height());
    if (top <= bottom) {
        plot.MoveTo(x, top);
        plot.LineTo(x, bottom + 1);
    }
    return lastRow;
}

// Draws the trace through the points (xOf(i), rowOf(samples[i])), i = 0 ..
// count-1, in the pen colour: exactly the pixels of MoveTo to the first point
// and LineTo every further one, but without working out the row of every
// sample. rowOf must never rise as the sample falls (a larger sample lies
// higher up or level), which the plot's mapping guarantees.
//
// A long run draws many samples on one column. The vertical lines joining
// them paint one unbroken span: every row from the lowest to the highest of
// the run's rows, except the run's last row when only the last lines reach
// it (each line leaves its end point). Writing r_b for the last row and
// lo..hi for the rows before the run ends on r_b, the span is lo..hi widened
// to r_b, with r_b itself left out if it lies outside lo..hi. By the
// monotone mapping, lo and hi are the rows of the run's largest and smallest
// sample, found by comparing samples, so a column costs a handful of rows
// however many samples fall on it. A run holding a NaN, which has no place
// in the order, is drawn line by line.
template <typename Sample, typename XOf, typename RowOf>
void DrawColumnTrace(Bitmap& plot, const Sample* samples, std::int32_t count, XOf xOf, RowOf rowOf)
{
    if (count <= 0)
        return;
    int row = rowOf(samples[0]);
    plot.MoveTo(xOf(0), row);
    std::int32_t first = 0;
    while (first < count) {
        const int x = xOf(first);
        if (first > 0) {
            row = rowOf(samples[first]);
            plot.LineTo(x, row);
        }
        std::int32_t last = first;
        while (last + 1 < count && xOf(last + 1) == x)
            ++last;
        if (last > first)
            row = DrawColumnRun(plot, samples, first, last, x, rowOf);
        plot.MoveTo(x, row);
        first = last + 1;
    }
}
