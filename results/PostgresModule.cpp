#include "PostgresModule.h"

#include "ProgramModule.h"

#include <string>

const PostgresModuleEntries* PostgresModule::Load(QString& error)
{
    std::string reason;
    const auto* entries = ProgramModule::Load<PostgresModuleEntries>("postgres", reason);
    if (entries == nullptr)
        error = QStringLiteral("%1; a PostgreSQL results database needs it").arg(QString::fromStdString(reason));
    return entries;
}
