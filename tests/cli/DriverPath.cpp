#include "DriverPath.h"

bool DriverPath::OnLibftdi()
{
#ifdef KORVADEX_TEST_ON_LIBFTDI
    return true;
#else
    return false;
#endif
}

QString DriverPath::Location(int index)
{
    if (OnLibftdi())
        return QStringLiteral("1-1.%1").arg(index + 1);
    return QStringLiteral("0x%1").arg(0x1011 + index, 0, 16);
}

QString DriverPath::BusyReason()
{
    if (OnLibftdi())
        return QStringLiteral("LIBUSB_ERROR_BUSY: the interface is claimed by another program");
    return QStringLiteral("open in another program");
}

QString DriverPath::LastSearched()
{
    if (OnLibftdi())
        return QStringLiteral("libftdi");
#ifdef Q_OS_WIN
    return QStringLiteral("FTD2XX.DLL");
#else
    return QStringLiteral("libftd2xx.so");
#endif
}
