#include "MqttModule.h"
#include "MqttPublisher.h"
#include "ProgramModule.h"

// The module korvadex-mqtt: the MQTT publisher, with libmosquitto.

namespace {

std::unique_ptr<Publisher> NewPublisher(const PublishTarget& target, LiveMessages messages)
{
    return std::make_unique<MqttPublisher>(target, std::move(messages), MqttPublisher::Role::Log);
}

std::unique_ptr<Publisher> NewTestPublisher(const PublishTarget& target, const QString& serial)
{
    LogHead board;
    board.BoardSerial = serial.toStdString();
    return std::make_unique<MqttPublisher>(target, LiveMessages(board, QString()), MqttPublisher::Role::Test);
}

const MqttModuleEntries entries{NewPublisher, NewTestPublisher};

} // namespace

KORVADEX_MODULE_ENTRIES(entries)
