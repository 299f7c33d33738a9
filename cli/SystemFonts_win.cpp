#include "SystemFonts.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <windows.h>

void SystemFonts::ShowToOffscreenPlatform()
{
    if (!qEnvironmentVariableIsEmpty("QT_QPA_FONTDIR"))
        return;
    wchar_t windows[MAX_PATH];
    const UINT length = GetWindowsDirectoryW(windows, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return;
    qputenv("QT_QPA_FONTDIR", QString::fromWCharArray(windows, static_cast<int>(length)).toUtf8() + "\\Fonts");
}
