#pragma once

#include "LogRecords.h"
#include "Publisher.h"

#include <QString>

#include <memory>
#include <optional>

// Where --publish sends a log's live figures: "mqtt://HOST[:PORT]/PREFIX"
// (port 1883, prefix "korvadex" when left out), or "influx-file:PATH".
struct PublishTarget {
    enum class Kind { Mqtt, InfluxFile };
    Kind Type = Kind::Mqtt;
    QString Host;
    int Port = 1883;
    QString Prefix = QStringLiteral("korvadex");
    QString User;
    QString Password;
    QString Path;  // influx-file

    // The target, or nothing with the reason in `error` (also when an MQTT
    // target's module cannot be loaded).
    static std::optional<PublishTarget> Parse(const QString& text, QString& error);
    // The first line of a password file, without its line end; nothing with
    // the reason in `error` when it cannot be read.
    static std::optional<QString> ReadPassword(const QString& path, QString& error);

    // A publisher for a log of this head written to `file`; null when the
    // MQTT module, which Parse has loaded, cannot be loaded.
    std::unique_ptr<Publisher> Make(const LogHead& head, const QString& file) const;
    // A publisher of the test verdicts of the board `serial`; null for an
    // influx-file target, whose line protocol holds summaries only.
    std::unique_ptr<Publisher> MakeForTests(const QString& serial) const;
};
