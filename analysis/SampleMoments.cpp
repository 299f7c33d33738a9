#include "SampleMoments.h"

#include <algorithm>

template <typename Sample>
SampleMoments SampleMoments::OfBlock(const Sample* samples, std::int64_t count, std::int64_t stride)
{
    SampleMoments block;
    if (count <= 0)
        return block;
    long double sum = 0.0L;
    double smallest = samples[0];
    double largest = samples[0];
    for (std::int64_t i = 0; i < count; ++i) {
        const double value = samples[i * stride];
        sum += value;
        smallest = std::min(smallest, value);
        largest = std::max(largest, value);
    }
    const long double mean = sum / count;
    long double squares = 0.0L;
    for (std::int64_t i = 0; i < count; ++i) {
        const long double d = samples[i * stride] - mean;
        squares += d * d;
    }
    return FromParts(count, mean, squares, smallest, largest);
}

void SampleMoments::Add(const std::int32_t* samples, std::int64_t count, std::int64_t stride)
{
    Merge(OfBlock(samples, count, stride));
}

void SampleMoments::Add(const float* samples, std::int64_t count, std::int64_t stride)
{
    Merge(OfBlock(samples, count, stride));
}

SampleMoments SampleMoments::FromParts(std::int64_t count, long double mean, long double squares, double smallest,
                                       double largest)
{
    SampleMoments moments;
    moments.count_ = count;
    moments.mean_ = mean;
    moments.squares_ = squares;
    moments.smallest_ = smallest;
    moments.largest_ = largest;
    return moments;
}

void SampleMoments::Merge(const SampleMoments& other)
{
    if (other.count_ == 0)
        return;
    if (count_ == 0) {
        *this = other;
        return;
    }
    const long double n = static_cast<long double>(count_) + other.count_;
    const long double delta = other.mean_ - mean_;
    mean_ += delta * other.count_ / n;
    squares_ += other.squares_ + delta * delta * count_ * other.count_ / n;
    count_ += other.count_;
    smallest_ = std::min(smallest_, other.smallest_);
    largest_ = std::max(largest_, other.largest_);
}

long double SampleMoments::SquaresAbout(long double centre) const
{
    const long double offset = mean_ - centre;
    return squares_ + count_ * offset * offset;
}

long double SampleMoments::Variance() const
{
    return count_ > 0 ? squares_ / count_ : 0.0L;
}
