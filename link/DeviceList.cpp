#include "DeviceList.h"

#include <iterator>

namespace {

// Indexed by status code, as the vendor numbers them.
const char* const StatusNames[] = {
    "FT_OK",
    "FT_INVALID_HANDLE",
    "FT_DEVICE_NOT_FOUND",
    "FT_DEVICE_NOT_OPENED",
    "FT_IO_ERROR",
    "FT_INSUFFICIENT_RESOURCES",
    "FT_INVALID_PARAMETER",
    "FT_INVALID_BAUD_RATE",
    "FT_DEVICE_NOT_OPENED_FOR_ERASE",
    "FT_DEVICE_NOT_OPENED_FOR_WRITE",
    "FT_FAILED_TO_WRITE_DEVICE",
    "FT_EEPROM_READ_FAILED",
    "FT_EEPROM_WRITE_FAILED",
    "FT_EEPROM_ERASE_FAILED",
    "FT_EEPROM_NOT_PRESENT",
    "FT_EEPROM_NOT_PROGRAMMED",
    "FT_INVALID_ARGS",
    "FT_NOT_SUPPORTED",
    "FT_OTHER_ERROR",
};

// Indexed by FT_DEVICE_*.
const char* const TypeNames[] = {
    "FT232BM", "FT232AM", "FT100AX", "unknown", "FT2232C", "FT232R", "FT2232H", "FT4232H", "FT232H", "FT-X",
};

} // namespace

FT_STATUS DeviceList::Read(D2xx& driver, std::vector<FtdiDevice>& devices)
{
    devices.clear();
    if (D2xxDiscovery* discovery = driver.Discovery())
        return ReadList(*discovery, devices);
    return ProbeDeviceZero(driver, devices);
}

FT_STATUS DeviceList::ReadList(D2xxDiscovery& discovery, std::vector<FtdiDevice>& devices)
{
    DWORD count = 0;
    const FT_STATUS status = discovery.FT_CreateDeviceInfoList(&count);
    if (status != FT_OK)
        return status;
    for (DWORD index = 0; index < count; ++index)
        devices.push_back(ReadEntry(discovery, index));
    return FT_OK;
}

FtdiDevice DeviceList::ReadEntry(D2xxDiscovery& discovery, DWORD index)
{
    DWORD flags = 0;
    DWORD type = FT_DEVICE_UNKNOWN;
    DWORD id = 0;
    DWORD location = 0;
    // One byte more than the driver may fill, so a full buffer still ends in NUL.
    char serial[FT_SerialNumberSize + 1] = {};
    char description[FT_DescriptionSize + 1] = {};
    FT_HANDLE handle = nullptr;
    const FT_STATUS status =
        discovery.FT_GetDeviceInfoDetail(index, &flags, &type, &id, &location, serial, description, &handle);

    FtdiDevice device;
    device.Index = static_cast<int>(index);
    if (status != FT_OK) {
        device.State = DeviceState::Unreadable;
        device.Reason = StatusName(status);
        return device;
    }
    device.Serial = QString::fromLatin1(serial);
    device.Description = QString::fromLatin1(description);
    device.Type = TypeName(type);
    device.Location = QStringLiteral("0x") + QString::number(location, 16).toUpper().rightJustified(4, QLatin1Char('0'));
    if ((flags & FT_FLAGS_OPENED) != 0) {
        device.State = DeviceState::Busy;
        device.Reason = QStringLiteral("open in another program");
    }
    D2xxEntryNote note;
    if (discovery.DescribeEntry(index, note)) {
        if (!note.Location.empty())
            device.Location = QString::fromStdString(note.Location);
        device.State = note.State;
        device.Reason = QString::fromStdString(note.Reason);
    }
    return device;
}

FT_STATUS DeviceList::ProbeDeviceZero(D2xx& driver, std::vector<FtdiDevice>& devices)
{
    FT_HANDLE handle = nullptr;
    const FT_STATUS status = driver.FT_Open(0, &handle);
    if (status == FT_DEVICE_NOT_FOUND)
        return FT_OK;
    FtdiDevice device;
    if (status == FT_OK && handle != nullptr) {
        driver.FT_Close(handle);
    } else {
        device.State = DeviceState::Unreadable;
        device.Reason = StatusName(status);
    }
    devices.push_back(device);
    return FT_OK;
}

QString DeviceList::StatusName(FT_STATUS status)
{
    if (status < std::size(StatusNames))
        return QString::fromLatin1(StatusNames[status]);
    return QStringLiteral("status %1").arg(status);
}

QString DeviceList::StateName(DeviceState state)
{
    switch (state) {
    case DeviceState::Busy:
        return QStringLiteral("busy");
    case DeviceState::NoPermission:
        return QStringLiteral("no permission");
    case DeviceState::KernelDriver:
        return QStringLiteral("kernel driver");
    case DeviceState::Unreadable:
        return QStringLiteral("unreadable");
    case DeviceState::Usable:
        break;
    }
    return QStringLiteral("usable");
}

QString DeviceList::TypeName(DWORD type)
{
    if (type < std::size(TypeNames))
        return QString::fromLatin1(TypeNames[type]);
    return QStringLiteral("type %1").arg(type);
}
