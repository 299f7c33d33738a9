#include "PublishTarget.h"

#include "InfluxFilePublisher.h"
#include "MqttModule.h"

#include <QFile>
#include <QUrl>

std::optional<PublishTarget> PublishTarget::Parse(const QString& text, QString& error)
{
    PublishTarget target;
    const QString influx = QStringLiteral("influx-file:");
    if (text.startsWith(influx) && text.size() > influx.size()) {
        target.Type = Kind::InfluxFile;
        target.Path = text.mid(influx.size());
        return target;
    }
    const QUrl url(text, QUrl::StrictMode);
    if (!url.isValid() || url.scheme() != QStringLiteral("mqtt") || url.host().isEmpty() || !url.userInfo().isEmpty()
        || url.hasQuery() || url.hasFragment()) {
        error = QStringLiteral("--publish takes mqtt://HOST[:PORT]/PREFIX or influx-file:PATH, not %1").arg(text);
        return std::nullopt;
    }
    target.Host = url.host();
    target.Port = url.port(1883);
    const QString prefix = url.path().mid(1);
    if (!prefix.isEmpty())
        target.Prefix = prefix;
    if (target.Prefix.contains(QLatin1Char('+')) || target.Prefix.contains(QLatin1Char('#'))
        || target.Prefix.endsWith(QLatin1Char('/'))) {
        error = QStringLiteral("the topic prefix %1 holds a wildcard or ends in /").arg(target.Prefix);
        return std::nullopt;
    }
    // Refused here, before any board is touched, when the module is missing.
    if (MqttModule::Load(error) == nullptr)
        return std::nullopt;
    return target;
}

std::optional<QString> PublishTarget::ReadPassword(const QString& path, QString& error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("cannot read the password file %1: %2").arg(path, file.errorString());
        return std::nullopt;
    }
    QByteArray line = file.readLine();
    while (line.endsWith('\n') || line.endsWith('\r'))
        line.chop(1);
    return QString::fromUtf8(line);
}

std::unique_ptr<Publisher> PublishTarget::Make(const LogHead& head, const QString& file) const
{
    if (Type == Kind::InfluxFile)
        return std::make_unique<InfluxFilePublisher>(Path, LiveMessages(head, file));
    QString error;
    const MqttModuleEntries* mqtt = MqttModule::Load(error);
    return mqtt == nullptr ? nullptr : mqtt->NewPublisher(*this, LiveMessages(head, file));
}

std::unique_ptr<Publisher> PublishTarget::MakeForTests(const QString& serial) const
{
    QString error;
    const MqttModuleEntries* mqtt = Type == Kind::Mqtt ? MqttModule::Load(error) : nullptr;
    return mqtt == nullptr ? nullptr : mqtt->NewTestPublisher(*this, serial);
}
