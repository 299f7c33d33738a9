#pragma once

#include "NoiseDensity.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

// Welch's method taken a block at a time: the summed periodograms of the
// segments seen so far and how many there are. Segments of Length() samples
// start at every multiple of the hop (half a segment) from the stream's
// first sample and are taken while they lie whole inside it; each segment,
// less its own mean, is weighted by a periodic Hann window and transformed
// with FFTW.
//
// A block owns the segments that start in it. To take them it needs the
// samples that follow it up to the end of its last segment: for a block
// that starts and ends on multiples of the hop that is one hop (half a
// segment) of look-ahead, and Length() − 1 samples always suffice. Blocks
// that cover a stream once, each with its look-ahead, so sum exactly the
// segments of one pass over the whole, whichever way it was cut, and their
// merged sums equal the one-pass sums up to the order of the additions.
class WelchSums {
public:
    explicit WelchSums(std::int32_t length);
    ~WelchSums();
    WelchSums(WelchSums&&) noexcept;
    WelchSums& operator=(WelchSums&&) noexcept;
    WelchSums(const WelchSums& other);
    WelchSums& operator=(const WelchSums& other);

    // samples[0 .. available) are the stream's samples from index `first`
    // on, `stride` elements apart; the block owns starts first .. first +
    // owned − 1. A segment that would reach past `available` is left out: it
    // is a longer stream's end, or a look-ahead that fell short.
    void Add(const float* samples, std::int64_t first, std::int64_t owned, std::int64_t available,
             std::int64_t stride = 1);
    // other must have the same length.
    void Merge(const WelchSums& other);

    // A partial result rebuilt from its parts, as another process sent them.
    static WelchSums FromParts(std::int32_t length, std::int64_t segments, std::vector<double> summed);

    std::int32_t Length() const { return length_; }
    std::int64_t Segments() const { return segments_; }
    // Length() / 2 + 1 bins of summed |X|².
    const std::vector<double>& Summed() const { return summed_; }

    // Nothing without a segment or a rate above 0.
    std::optional<NoiseDensity> Density(double sampleRate) const;

private:
    struct Transform;
    void TakeSegment(const float* samples, std::int64_t stride);

    std::int32_t length_;
    std::int64_t segments_ = 0;
    std::vector<double> summed_;
    std::unique_ptr<Transform> transform_;  // made at the first segment
};
