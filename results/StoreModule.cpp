#include "StoreModule.h"

#include "ProgramModule.h"

#include <string>

const StoreModuleEntries* StoreModule::Load(const char* name, const QString& kind, QString& error)
{
    std::string reason;
    const auto* entries = ProgramModule::Load<StoreModuleEntries>(name, reason);
    if (entries == nullptr)
        error = QStringLiteral("%1; %2 results database needs it").arg(QString::fromStdString(reason), kind);
    return entries;
}
