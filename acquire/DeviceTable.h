#pragma once

#include "DeviceList.h"

#include <QString>

#include <vector>

// How `devices` and the board commands show an FTDI device: one line of
// tab-separated fields (index, serial, description, type, location, state,
// and the identity when asked for), or one JSON object.
class DeviceTable {
public:
    static QString Line(const FtdiDevice& device, const QString& identity = QString());
    static QString Json(const FtdiDevice& device, const QString& identity = QString());
    // Every device as a line, each indented, for a message.
    static QString Lines(const std::vector<FtdiDevice>& devices);
    // "busy: open in another program", "usable".
    static QString StateText(const FtdiDevice& device);
};
