#include "CodeScale.h"

namespace CodeScale {

namespace {

constexpr float ReferenceMicrovolts = 2500000.0f;
constexpr long double CodeStep = 1.0L / 8388607;  // one code of the positive half-scale

} // namespace

long double CodeToMicrovolts(std::int32_t code, std::int32_t gainDivisor)
{
    const std::int64_t fromZero = static_cast<std::int64_t>(code) - MidScale;
    return static_cast<long double>(fromZero) * ReferenceMicrovolts * CodeStep / gainDivisor;
}

} // namespace CodeScale
