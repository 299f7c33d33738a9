#pragma once

#include "LogRecords.h"
#include "SecondFigures.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <string>

// The texts a log publishes while it runs: JSON for a broker (a second's
// summary, an event, the log's status), and InfluxDB line protocol for a
// file that Telegraf follows. Microvolt figures are written with the
// shortest digits that read back as the same float, as report --json does.
class LiveMessages {
public:
    LiveMessages(const LogHead& head, QString file);

    QByteArray Summary(const SecondSummary& second, int reconnects) const;
    QByteArray Event(const LogEvent& event) const;
    // "online" with the settings and the file; "offline" (also the last will).
    QByteArray Status(bool online) const;
    // One line per channel, the second's start in nanoseconds, each ended by LF.
    QByteArray InfluxLines(const SecondSummary& second, int reconnects) const;

    // "KVX0001", or "unknown" when the driver gave no serial number, as a
    // topic level.
    const QString& Serial() const { return serial_; }

private:
    LogHead head_;
    QString file_;
    QString serial_;
};
