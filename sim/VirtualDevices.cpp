#include "VirtualDevices.h"

#include "VirtualBoard.h"
#include "VirtualSerialAdapter.h"

#include <algorithm>
#include <cstring>

namespace {

// FTDI's vendor id and the product ids of the bridges.
constexpr DWORD Ft232rId = 0x04036001;
constexpr DWORD FtXId = 0x04036015;

// Bus 1, port 1 onwards, as the vendor's driver packs a location on Linux.
constexpr DWORD FirstLocation = 0x1011;

void CopyText(const std::string& text, LPVOID destination, DWORD size)
{
    if (destination == nullptr)
        return;
    const std::size_t count = std::min<std::size_t>(text.size(), size - 1);
    std::memcpy(destination, text.data(), count);
    static_cast<char*>(destination)[count] = '\0';
}

}  // namespace

struct VirtualDevices::Device {
    SimDevice Setting;
    std::unique_ptr<D2xx> Driver;
    std::string Description;
    DWORD Type = FT_DEVICE_232R;
    DWORD Id = Ft232rId;
    DWORD Location = FirstLocation;
    FT_HANDLE Open = nullptr;  // this program's handle while open
    VirtualBoard* Board = nullptr;  // the driver, when the device is a board
};

VirtualDevices::VirtualDevices(SimClock& clock, const std::vector<SimDevice>& devices, const BoardConfig& board)
{
    for (const SimDevice& setting : devices) {
        if (setting.Type == SimDevice::Kind::Board && board.Faults.Absent)
            continue;
        auto device = std::make_unique<Device>();
        device->Setting = setting;
        device->Location = FirstLocation + static_cast<DWORD>(devices_.size());
        switch (setting.Type) {
        case SimDevice::Kind::Board: {
            auto virtualBoard = std::make_unique<VirtualBoard>(clock, BoardOfDevice(board, setting));
            device->Board = virtualBoard.get();
            device->Driver = std::move(virtualBoard);
            device->Description = "KORVADEX Board " + setting.Serial;
            break;
        }
        case SimDevice::Kind::SilentAdapter:
            device->Driver = std::make_unique<VirtualSerialAdapter>(false);
            device->Description = "USB-Serial Cable";
            device->Type = FT_DEVICE_X_SERIES;
            device->Id = FtXId;
            break;
        case SimDevice::Kind::EchoAdapter:
            device->Driver = std::make_unique<VirtualSerialAdapter>(true);
            device->Description = "USB-Serial Loopback";
            break;
        }
        devices_.push_back(std::move(device));
    }
}

VirtualDevices::~VirtualDevices() = default;

VirtualDevices::Device* VirtualDevices::Holding(FT_HANDLE handle)
{
    if (handle == nullptr)
        return nullptr;
    for (const auto& device : devices_) {
        if (device->Open == handle)
            return device.get();
    }
    return nullptr;
}

std::vector<VirtualDevices::Device*> VirtualDevices::OnTheBus()
{
    std::vector<Device*> present;
    for (const auto& device : devices_) {
        if (device->Board == nullptr || device->Board->CableIn())
            present.push_back(device.get());
    }
    return present;
}

FT_STATUS VirtualDevices::FT_Open(int deviceNumber, FT_HANDLE* handle)
{
    if (handle == nullptr)
        return FT_INVALID_PARAMETER;
    const std::vector<Device*> present = OnTheBus();
    if (deviceNumber < 0 || static_cast<std::size_t>(deviceNumber) >= present.size())
        return FT_DEVICE_NOT_FOUND;
    Device& device = *present[static_cast<std::size_t>(deviceNumber)];
    // Open elsewhere: the vendor's driver cannot open it a second time.
    if (device.Setting.Busy || device.Open != nullptr)
        return FT_DEVICE_NOT_OPENED;
    const FT_STATUS status = device.Driver->FT_Open(0, handle);
    if (status == FT_OK)
        device.Open = *handle;
    return status;
}

FT_STATUS VirtualDevices::FT_OpenEx(LPVOID arg1, DWORD flags, FT_HANDLE* handle)
{
    if (arg1 == nullptr || handle == nullptr || flags != FT_OPEN_BY_SERIAL_NUMBER)
        return FT_INVALID_PARAMETER;
    const std::string serial = static_cast<const char*>(arg1);
    const std::vector<Device*> present = OnTheBus();
    for (std::size_t i = 0; i < present.size(); ++i) {
        if (present[i]->Setting.Serial == serial)
            return FT_Open(static_cast<int>(i), handle);
    }
    return FT_DEVICE_NOT_FOUND;
}

FT_STATUS VirtualDevices::FT_Close(FT_HANDLE handle)
{
    Device* device = Holding(handle);
    if (device == nullptr)
        return FT_INVALID_HANDLE;
    // The board forgets the handle even when the call fails (a pulled cable).
    const FT_STATUS status = device->Driver->FT_Close(handle);
    device->Open = nullptr;
    return status;
}

FT_STATUS VirtualDevices::FT_Read(FT_HANDLE handle, LPVOID buffer, DWORD bytesToRead, LPDWORD bytesReturned)
{
    Device* device = Holding(handle);
    return device ? device->Driver->FT_Read(handle, buffer, bytesToRead, bytesReturned) : FT_INVALID_HANDLE;
}

void VirtualDevices::HostBufferHolds(FT_HANDLE handle, std::size_t bytes)
{
    Device* device = Holding(handle);
    if (device != nullptr && device->Board != nullptr)
        device->Board->HostBufferHolds(bytes);
}

FT_STATUS VirtualDevices::FT_Write(FT_HANDLE handle, LPVOID buffer, DWORD bytesToWrite, LPDWORD bytesWritten)
{
    Device* device = Holding(handle);
    return device ? device->Driver->FT_Write(handle, buffer, bytesToWrite, bytesWritten) : FT_INVALID_HANDLE;
}

FT_STATUS VirtualDevices::FT_Purge(FT_HANDLE handle, ULONG mask)
{
    Device* device = Holding(handle);
    return device ? device->Driver->FT_Purge(handle, mask) : FT_INVALID_HANDLE;
}

FT_STATUS VirtualDevices::FT_GetQueueStatus(FT_HANDLE handle, DWORD* rxBytes)
{
    Device* device = Holding(handle);
    return device ? device->Driver->FT_GetQueueStatus(handle, rxBytes) : FT_INVALID_HANDLE;
}

FT_STATUS VirtualDevices::FT_SetUSBParameters(FT_HANDLE handle, ULONG inTransferSize, ULONG outTransferSize)
{
    Device* device = Holding(handle);
    return device ? device->Driver->FT_SetUSBParameters(handle, inTransferSize, outTransferSize) : FT_INVALID_HANDLE;
}

FT_STATUS VirtualDevices::FT_CreateDeviceInfoList(LPDWORD numDevs)
{
    if (numDevs == nullptr)
        return FT_INVALID_PARAMETER;
    *numDevs = static_cast<DWORD>(OnTheBus().size());
    return FT_OK;
}

FT_STATUS VirtualDevices::FT_GetDeviceInfoDetail(DWORD index, LPDWORD flags, LPDWORD type, LPDWORD id, LPDWORD locId,
                                                 LPVOID serialNumber, LPVOID description, FT_HANDLE* handle)
{
    const std::vector<Device*> present = OnTheBus();
    if (index >= present.size())
        return FT_DEVICE_NOT_FOUND;
    if (flags == nullptr || type == nullptr || id == nullptr || locId == nullptr || handle == nullptr)
        return FT_INVALID_PARAMETER;
    const Device& device = *present[index];
    *flags = device.Setting.Busy || device.Open != nullptr ? FT_FLAGS_OPENED : 0;
    *type = device.Type;
    *id = device.Id;
    *locId = device.Location;
    *handle = device.Open;
    CopyText(device.Setting.Serial, serialNumber, FT_SerialNumberSize);
    CopyText(device.Description, description, FT_DescriptionSize);
    return FT_OK;
}
