#pragma once

#include "DeviceList.h"

#include <QString>

#include <vector>

// The box that lets the operator pick the board among several FTDI devices.
// The program supplies a Qt dialog; the tests a scripted choice.
class BoardChooser {
public:
    virtual ~BoardChooser() = default;
    // The serial number of the device chosen, the current one (`current`,
    // empty before any choice) offered first; an empty text when the
    // operator cancels.
    virtual QString ChooseBoard(const std::vector<FtdiDevice>& devices, const QString& current) = 0;
};
