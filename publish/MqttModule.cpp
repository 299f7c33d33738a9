#include "MqttModule.h"

#include "ProgramModule.h"

#include <string>

const MqttModuleEntries* MqttModule::Load(QString& error)
{
    std::string reason;
    const auto* entries = ProgramModule::Load<MqttModuleEntries>("mqtt", reason);
    if (entries == nullptr)
        error = QStringLiteral("%1; publishing to a broker needs it").arg(QString::fromStdString(reason));
    return entries;
}
