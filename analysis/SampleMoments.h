#pragma once

#include <cstdint>

// Count, mean, sum of squared deviations about the mean, smallest and
// largest of a stream of samples, taken a block at a time. Each block is
// worked exactly in two passes (its own mean, then its squares about it) and
// joined to what came before by the parallel-merge formula of Chan, Golub
// and LeVeque, all in long double. A naive sum of squares in double loses
// the variance of codes near 8.4 million (2^23, zero volts) after a few
// million samples: the squares are 7·10^13 each, the noise's share a few
// parts in 10^13 of them.
//
// A block is `count` samples `stride` elements apart (a channel of an
// interleaved (n, 2) array has stride 2), so that a plain array from any
// language can be handed in without copying.
class SampleMoments {
public:
    void Add(const std::int32_t* samples, std::int64_t count, std::int64_t stride = 1);
    void Add(const float* samples, std::int64_t count, std::int64_t stride = 1);
    // As if other's samples had been added after this one's.
    void Merge(const SampleMoments& other);

    // A partial result rebuilt from its parts, as another process sent them.
    static SampleMoments FromParts(std::int64_t count, long double mean, long double squares, double smallest,
                                   double largest);

    std::int64_t Count() const { return count_; }
    long double Mean() const { return mean_; }
    // About the mean.
    long double Squares() const { return squares_; }
    // About any other centre: Squares() + Count() · (Mean() − centre)².
    long double SquaresAbout(long double centre) const;
    // Population variance (division by Count()); 0 without samples.
    long double Variance() const;
    // 0 without samples.
    double Smallest() const { return smallest_; }
    double Largest() const { return largest_; }

private:
    template <typename Sample>
    static SampleMoments OfBlock(const Sample* samples, std::int64_t count, std::int64_t stride);

    std::int64_t count_ = 0;
    long double mean_ = 0.0L;
    long double squares_ = 0.0L;
    double smallest_ = 0.0;
    double largest_ = 0.0;
};
