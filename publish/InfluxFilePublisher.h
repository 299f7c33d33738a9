#pragma once

#include "LiveMessages.h"
#include "Publisher.h"

#include <QFile>

// Summaries appended as InfluxDB line protocol to a file that Telegraf's
// tail input follows, for a lab without a broker. Each second's lines are
// written whole and flushed; events and verdicts are not part of it.
class InfluxFilePublisher : public Publisher {
public:
    InfluxFilePublisher(const QString& path, LiveMessages messages);

    void Summary(const SecondSummary& second, int reconnects) override;
    void Event(const LogEvent&) override {}
    void TestOutcome(const QByteArray&) override {}
    std::int64_t Close() override;
    QString Problem() const override { return problem_; }

private:
    LiveMessages messages_;
    QFile file_;
    std::int64_t undelivered_ = 0;
    QString problem_;
};
