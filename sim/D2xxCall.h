#pragma once

#include <cstdint>

// The D2XX calls the drop-in library sends its board process, by number.
enum class D2xxCall : std::uint8_t {
    Open = 1,
    Close,
    Read,
    Write,
    Purge,
    GetQueueStatus,
    SetUSBParameters,
    CreateDeviceInfoList,
    GetDeviceInfoDetail,
    OpenEx,
};
