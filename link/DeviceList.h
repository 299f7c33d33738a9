#pragma once

#include "D2xx.h"

#include <QString>

#include <vector>

// One FTDI device as its driver lists it.
struct FtdiDevice {
    int Index = 0;
    QString Serial;
    QString Description;  // the USB product string
    QString Type;         // the bridge, "FT232R"
    QString Location;     // the driver's location id, "0x1011", or the bus and ports, "1-2.3"
    DeviceState State = DeviceState::Usable;
    QString Reason;       // why it cannot be opened, in the driver's words
};

// The FTDI devices a driver sees. Nothing is written to a device to find
// out what it is: a driver with a device list is only asked for its list; one
// without is asked to open device 0, which it then closes again.
class DeviceList {
public:
    // The devices into `devices`; FT_OK, or the driver's failure to list.
    static FT_STATUS Read(D2xx& driver, std::vector<FtdiDevice>& devices);

    // "FT_DEVICE_NOT_FOUND", the vendor's name for a status.
    static QString StatusName(FT_STATUS status);
    // "usable", "busy", "no permission", "kernel driver", "unreadable".
    static QString StateName(DeviceState state);
    // "FT232R", or "type N" for one this program does not know.
    static QString TypeName(DWORD type);

private:
    static FT_STATUS ReadList(D2xxDiscovery& discovery, std::vector<FtdiDevice>& devices);
    static FtdiDevice ReadEntry(D2xxDiscovery& discovery, DWORD index);
    static FT_STATUS ProbeDeviceZero(D2xx& driver, std::vector<FtdiDevice>& devices);
};
