#include "PublishOptions.h"

const QString PublishOptions::Publish = QStringLiteral("--publish");
const QString PublishOptions::MqttUser = QStringLiteral("--mqtt-user");
const QString PublishOptions::MqttPasswordFile = QStringLiteral("--mqtt-password-file");

std::vector<CommandLine::Option> PublishOptions::With(std::vector<CommandLine::Option> options)
{
    options.insert(options.end(), {{Publish, true}, {MqttUser, true}, {MqttPasswordFile, true}});
    return options;
}

std::optional<PublishTarget> PublishOptions::Target(const CommandLine& line, QString& error)
{
    if (!line.Has(Publish)) {
        if (line.Has(MqttUser) || line.Has(MqttPasswordFile))
            error = QStringLiteral("%1 and %2 go with %3").arg(MqttUser, MqttPasswordFile, Publish);
        return std::nullopt;
    }
    std::optional<PublishTarget> target = PublishTarget::Parse(line.Value(Publish), error);
    if (!target)
        return std::nullopt;
    target->User = line.Value(MqttUser);
    if (line.Has(MqttPasswordFile)) {
        const std::optional<QString> password = PublishTarget::ReadPassword(line.Value(MqttPasswordFile), error);
        if (!password)
            return std::nullopt;
        target->Password = *password;
    }
    return target;
}
