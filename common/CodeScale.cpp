#include "CodeScale.h"

namespace CodeScale {

namespace {

constexpr long double CodeStep = 1.0L / CodeSteps;  // one code of the positive half-scale

} // namespace

long double CodeToMicrovolts(std::int32_t code, std::int32_t gainDivisor)
{
    const std::int64_t fromZero = static_cast<std::int64_t>(code) - MidScale;
    return static_cast<long double>(fromZero) * ReferenceMicrovolts * CodeStep / gainDivisor;
}

} // namespace CodeScale
