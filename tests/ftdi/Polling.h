#pragma once

#include <chrono>
#include <cstddef>
#include <thread>
#include <vector>

// Polls until the condition holds or the time is up (a fault shows as a
// failed check, not a hung test). Returns whether it held.
template <typename Condition>
bool WaitUntil(Condition condition, std::chrono::milliseconds timeout = std::chrono::seconds(5))
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    return true;
}

// A stretch of the counting stream 0, 1, ..., 255, 0, 1, ..., starting at first.
inline std::vector<unsigned char> Counting(std::size_t first, std::size_t count)
{
    std::vector<unsigned char> bytes(count);
    for (std::size_t i = 0; i < count; ++i)
        bytes[i] = static_cast<unsigned char>(first + i);
    return bytes;
}
