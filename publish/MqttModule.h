#pragma once

#include "LiveMessages.h"
#include "Publisher.h"

#include <QString>

#include <memory>

struct PublishTarget;

// What the module korvadex-mqtt hands out: the MQTT publisher of a log, and
// that of a board's test verdicts (PREFIX/SERIAL/test). libmosquitto
// and its TLS libraries load with the module, for a log that publishes to a
// broker only.
struct MqttModuleEntries {
    std::unique_ptr<Publisher> (*NewPublisher)(const PublishTarget& target, LiveMessages messages);
    std::unique_ptr<Publisher> (*NewTestPublisher)(const PublishTarget& target, const QString& serial);
};

class MqttModule {
public:
    // The module's entries, loaded on the first call; null with the reason
    // in `error` when the module cannot be loaded.
    static const MqttModuleEntries* Load(QString& error);
};
