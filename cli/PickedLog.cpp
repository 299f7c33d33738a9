#include "PickedLog.h"

#include "Console.h"
#include "LogPick.h"

PickedLog PickedLog::Open(const QString& path, const LogPick& pick)
{
    PickedLog picked;
    QString error;
    picked.Log = LogSource::Open(path, error);
    if (!picked.Log) {
        Console::Err(QStringLiteral("korvadex-cli: ") + error);
        return picked;
    }
    if (!pick.Pieces(*picked.Log, picked.Pieces)) {
        Console::Err(QStringLiteral("korvadex-cli: ") + picked.Log->Error());
        picked.Log.reset();
    } else if (picked.Pieces.empty()) {
        Console::Err(QStringLiteral("korvadex-cli: %1: %2").arg(path, pick.NothingPicked()));
        picked.Log.reset();
    }
    return picked;
}

bool PickedLog::RefusePick(const QString& path, const LogPick& pick)
{
    if (!pick.PicksPart())
        return false;
    Console::Err(QStringLiteral("korvadex-cli: %1: %2, %3 and %4 pick part of a long-term log, not of a data file")
                     .arg(path, LogPick::RunsOption, LogPick::FromOption, LogPick::ToOption));
    return true;
}
