#pragma once

#include <QDir>
#include <QString>

// The guard's name for the copies that share a guard folder. On Windows the
// guard is a name for the whole desktop, so each test's copies need their own
// to run beside other tests, or beside the program an operator has open.
inline QString GuardNameFor(const QString& folder)
{
    return QStringLiteral("KORVADEX-") + QDir(folder).dirName();
}
