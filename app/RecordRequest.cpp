#include "RecordRequest.h"

QStringList RecordRequest::CompanionWords() const
{
    QStringList words{QStringLiteral("log"),
                      QStringLiteral("--rate"),
                      QString::number(Settings.spsSel),
                      QStringLiteral("--channel"),
                      QString::number(Settings.CHSel),
                      QStringLiteral("--filter"),
                      Settings.fSinc5 != 0 ? QStringLiteral("sinc5") : QStringLiteral("sinc3"),
                      QStringLiteral("-o"),
                      Path,
                      QStringLiteral("--force"),
                      QStringLiteral("--stop-with-stdin")};
    if (Until == Length::Seconds)
        words << QStringLiteral("--duration") << QString::number(Seconds, 'g', 12);
    if (Until == Length::Runs)
        words << QStringLiteral("--runs") << QString::number(Runs);
    if (Reconnect)
        words << QStringLiteral("--reconnect");
    if (!BoardSerial.isEmpty())
        words << QStringLiteral("--board") << BoardSerial;
    if (!PublishUrl.isEmpty()) {
        words << QStringLiteral("--publish") << PublishUrl;
        if (!MqttUser.isEmpty())
            words << QStringLiteral("--mqtt-user") << MqttUser;
        if (!MqttPasswordFile.isEmpty())
            words << QStringLiteral("--mqtt-password-file") << MqttPasswordFile;
    }
    return words;
}
