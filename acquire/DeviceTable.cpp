#include "DeviceTable.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>

namespace {

// A field the driver left empty still takes its column.
QString Field(const QString& text)
{
    return text.isEmpty() ? QStringLiteral("-") : text;
}

} // namespace

QString DeviceTable::StateText(const FtdiDevice& device)
{
    const QString state = DeviceList::StateName(device.State);
    return device.Reason.isEmpty() ? state : state + QStringLiteral(": ") + device.Reason;
}

QString DeviceTable::Line(const FtdiDevice& device, const QString& identity)
{
    QStringList fields{QString::number(device.Index), Field(device.Serial), Field(device.Description),
                       Field(device.Type),            Field(device.Location), StateText(device)};
    if (!identity.isEmpty())
        fields << identity;
    return fields.join(QLatin1Char('\t'));
}

QString DeviceTable::Json(const FtdiDevice& device, const QString& identity)
{
    QJsonObject object{{QStringLiteral("index"), device.Index},
                       {QStringLiteral("serial"), device.Serial},
                       {QStringLiteral("description"), device.Description},
                       {QStringLiteral("type"), device.Type},
                       {QStringLiteral("location"), device.Location},
                       {QStringLiteral("state"), DeviceList::StateName(device.State)}};
    if (!device.Reason.isEmpty())
        object.insert(QStringLiteral("reason"), device.Reason);
    if (!identity.isEmpty())
        object.insert(QStringLiteral("identity"), identity);
    return QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact));
}

QString DeviceTable::Lines(const std::vector<FtdiDevice>& devices)
{
    QStringList lines;
    for (const FtdiDevice& device : devices)
        lines << QStringLiteral("  ") + Line(device);
    return lines.join(QLatin1Char('\n'));
}
