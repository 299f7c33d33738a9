#pragma once

#include <cstdint>
#include <vector>

// A trace of many samples reduced to the lowest and highest sample of each
// column, taken a block at a time: samples 0 .. n − 1 are shared out over
// `columns` columns in order, column c holding samples ⌊c·n/columns⌋ up to
// the next column's first (at least one each when n ≥ columns). Drawing each
// column as one upright stroke shows every spike of the whole trace.
class ColumnExtremes {
public:
    ColumnExtremes(std::int64_t samples, int columns);

    // values[0 .. count) are samples first .. first + count − 1, `stride`
    // elements apart.
    void Add(const float* values, std::int64_t first, std::int64_t count, std::int64_t stride = 1);

    int Columns() const { return static_cast<int>(low_.size()); }
    std::int64_t Samples() const { return samples_; }
    // Of a column that got samples; Filled says which did.
    bool Filled(int column) const { return filled_[static_cast<std::size_t>(column)] != 0; }
    float Low(int column) const { return low_[static_cast<std::size_t>(column)]; }
    float High(int column) const { return high_[static_cast<std::size_t>(column)]; }

private:
    std::int64_t FirstOf(std::int64_t column) const;

    std::int64_t samples_;
    std::vector<float> low_;
    std::vector<float> high_;
    std::vector<char> filled_;
};
