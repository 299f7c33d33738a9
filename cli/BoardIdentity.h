#pragma once

#include "DeviceList.h"

#include <QString>

class D2xx;

// Who a listed device says it is, asked as the window identifies the board:
// "KORVADEX / V1.00" for a board; otherwise why it is not one.
class BoardIdentity {
public:
    static const char* const NotTheBoard;  // "not a KORVADEX Board"

    // Empty for a device that cannot be used at all.
    static QString Ask(D2xx& driver, const FtdiDevice& device);
    static bool IsBoard(const QString& identity);
};
