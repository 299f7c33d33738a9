#include "MqttModule.h"
#include "MqttPublisher.h"
#include "ProgramModule.h"

// The module korvadex-mqtt: the MQTT publisher, with libmosquitto.

namespace {

std::unique_ptr<Publisher> NewPublisher(const PublishTarget& target, LiveMessages messages)
{
    return std::make_unique<MqttPublisher>(target, std::move(messages));
}

const MqttModuleEntries entries{NewPublisher};

} // namespace

KORVADEX_MODULE_ENTRIES(entries)
