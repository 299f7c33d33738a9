#include "LiveMessages.h"

#include "JsonReport.h"
#include "MeasureItems.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>

namespace {

QJsonObject Figures(const ChannelReport& channel)
{
    return QJsonObject{
        {QStringLiteral("min_uV"), JsonReport::ShortestFloat(channel.MinMicrovolts)},
        {QStringLiteral("max_uV"), JsonReport::ShortestFloat(channel.MaxMicrovolts)},
        {QStringLiteral("mean_uV"), JsonReport::ShortestFloat(channel.MeanMicrovolts)},
        {QStringLiteral("sigma_uV"), JsonReport::ShortestFloat(channel.DevMicrovolts)},
        {QStringLiteral("pp_uV"), JsonReport::ShortestFloat(static_cast<float>(channel.PeakToPeakMicrovolts))},
    };
}

QString ChannelKey(const ChannelReport& channel)
{
    return QStringLiteral("ch%1").arg(channel.Channel);
}

QByteArray Compact(const QJsonObject& object)
{
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

// Tag values in line protocol escape commas, spaces and equals signs.
QString InfluxTag(QString text)
{
    for (const QString& special : {QStringLiteral(","), QStringLiteral(" "), QStringLiteral("=")})
        text.replace(special, QStringLiteral("\\") + special);
    return text;
}

} // namespace

LiveMessages::LiveMessages(const LogHead& head, QString file)
    : head_(head)
    , file_(std::move(file))
    , serial_(head.BoardSerial.empty() ? QStringLiteral("unknown") : QString::fromStdString(head.BoardSerial))
{
}

QByteArray LiveMessages::Summary(const SecondSummary& second, int reconnects) const
{
    const MeasureSettings& settings = head_.Settings;
    QJsonObject message{
        {QStringLiteral("time"), second.Second.toString(Qt::ISODate)},
        {QStringLiteral("serial"), serial_},
        {QStringLiteral("settings"),
         QJsonObject{{QStringLiteral("rate"), MeasureItems::RateItem(settings.spsSel)},
                     {QStringLiteral("channel"), MeasureItems::ChannelItem(settings.CHSel)},
                     {QStringLiteral("filter"), MeasureItems::FilterItem(settings.fSinc5)}}},
        {QStringLiteral("samples"), static_cast<double>(second.Samples)},
        // A break in the board's stream ends its run as incomplete: no sample
        // of a run that goes on is ever lost unseen.
        {QStringLiteral("lost"), 0},
        {QStringLiteral("reconnects"), reconnects},
    };
    for (const ChannelReport& channel : second.Channels)
        message.insert(ChannelKey(channel), Figures(channel));
    return Compact(message);
}

QByteArray LiveMessages::Event(const LogEvent& event) const
{
    return Compact(QJsonObject{
        {QStringLiteral("time"), QString::fromStdString(event.Time)},
        {QStringLiteral("serial"), serial_},
        {QStringLiteral("kind"), QString::fromStdString(event.Kind)},
        {QStringLiteral("run"), event.Run},
        {QStringLiteral("seconds"), event.Seconds},
        {QStringLiteral("text"), QString::fromStdString(event.Text)},
    });
}

QByteArray LiveMessages::Status(bool online) const
{
    QJsonObject message{
        {QStringLiteral("state"), online ? QStringLiteral("online") : QStringLiteral("offline")},
        {QStringLiteral("serial"), serial_},
        {QStringLiteral("file"), file_},
    };
    if (online) {
        message.insert(QStringLiteral("settings"), QString::fromStdString(head_.SettingsText));
        message.insert(QStringLiteral("started"), QString::fromStdString(head_.Started));
    }
    return Compact(message);
}

QByteArray LiveMessages::InfluxLines(const SecondSummary& second, int reconnects) const
{
    QByteArray lines;
    const qint64 nanoseconds = second.Second.toMSecsSinceEpoch() * 1000000;
    for (const ChannelReport& channel : second.Channels) {
        const QJsonObject figures = Figures(channel);
        QString line = QStringLiteral("korvadex,serial=%1,channel=%2 ").arg(InfluxTag(serial_), ChannelKey(channel));
        for (auto field = figures.begin(); field != figures.end(); ++field)
            line += QStringLiteral("%1=%2,").arg(field.key()).arg(QString::number(field.value().toDouble(), 'g', QLocale::FloatingPointShortest));
        line += QStringLiteral("samples=%1i,reconnects=%2i %3\n").arg(second.Samples).arg(reconnects).arg(nanoseconds);
        lines += line.toUtf8();
    }
    return lines;
}
