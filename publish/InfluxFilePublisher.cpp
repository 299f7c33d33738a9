#include "InfluxFilePublisher.h"

InfluxFilePublisher::InfluxFilePublisher(const QString& path, LiveMessages messages)
    : messages_(std::move(messages))
    , file_(path)
{
    if (!file_.open(QIODevice::WriteOnly | QIODevice::Append))
        problem_ = QStringLiteral("%1 cannot be written: %2").arg(path, file_.errorString());
}

void InfluxFilePublisher::Summary(const SecondSummary& second, int reconnects)
{
    const QByteArray lines = messages_.InfluxLines(second, reconnects);
    if (!file_.isOpen() || file_.write(lines) != lines.size() || !file_.flush()) {
        ++undelivered_;
        if (problem_.isEmpty())
            problem_ = QStringLiteral("%1 cannot be written: %2").arg(file_.fileName(), file_.errorString());
    }
}

std::int64_t InfluxFilePublisher::Close()
{
    file_.close();
    return undelivered_;
}
