#include "SimTestUtil.h"

BoardConfig CounterBoard()
{
    BoardConfig config;
    config.Signals.CounterPattern = true;
    config.Signals.CounterStart = 100;
    config.Signals.CounterCh1Offset = 0x800000;
    config.Signals.Seed = 7;
    return config;
}

std::vector<std::int32_t> DecodeCodes(const std::string& bytes)
{
    std::vector<std::int32_t> codes;
    for (std::size_t i = 0; i + 3 <= bytes.size(); i += 3) {
        const auto byte = [&](std::size_t k) { return static_cast<std::int32_t>(static_cast<unsigned char>(bytes[i + k])); };
        codes.push_back((byte(0) << 16) | (byte(1) << 8) | byte(2));
    }
    return codes;
}

long FirstBreak(const std::vector<std::int32_t>& codes)
{
    for (std::size_t i = 1; i < codes.size(); ++i) {
        if (codes[i] != ((codes[i - 1] + 1) & 0xFFFFFF))
            return static_cast<long>(i);
    }
    return -1;
}
