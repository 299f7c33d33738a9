#include "Broker.h"

#include <QElapsedTimer>
#include <QJsonDocument>
#include <QThread>

#include <mosquitto.h>

QString Broker::Url(const QString& prefix) const
{
    return QStringLiteral("mqtt://127.0.0.1:%1/%2").arg(port_).arg(prefix);
}

Broker::~Broker()
{
    Stop();
}

Listener::Listener(const Broker& broker, const QString& prefix)
{
    mosquitto_lib_init();
    client_ = mosquitto_new(nullptr, true, this);
    mosquitto_message_callback_set(client_, [](mosquitto*, void* self, const mosquitto_message* message) {
        auto* listener = static_cast<Listener*>(self);
        const QByteArray payload(static_cast<const char*>(message->payload), message->payloadlen);
        const std::lock_guard<std::mutex> lock(listener->mutex_);
        listener->heard_.push_back({QString::fromUtf8(message->topic), QJsonDocument::fromJson(payload).object()});
    });
    mosquitto_subscribe_callback_set(client_, [](mosquitto*, void* self, int, int, const int*) {
        auto* listener = static_cast<Listener*>(self);
        const std::lock_guard<std::mutex> lock(listener->mutex_);
        listener->subscribed_ = true;
    });
    if (mosquitto_connect(client_, "127.0.0.1", broker.Port(), 10) != MOSQ_ERR_SUCCESS)
        return;
    mosquitto_subscribe(client_, nullptr, (prefix + QStringLiteral("/#")).toUtf8().constData(), 1);
    mosquitto_loop_start(client_);
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < 5000) {
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            if (subscribed_)
                return;
        }
        QThread::msleep(10);
    }
}

Listener::~Listener()
{
    mosquitto_disconnect(client_);
    mosquitto_loop_stop(client_, false);
    mosquitto_destroy(client_);
}

std::vector<Heard> Listener::Messages()
{
    const std::lock_guard<std::mutex> lock(mutex_);
    return heard_;
}

bool Listener::WaitFor(const QString& kind, const QString& field, const QString& value, int ms)
{
    QElapsedTimer waited;
    waited.start();
    for (;;) {
        for (const Heard& heard : Messages()) {
            if (heard.Topic.endsWith(QLatin1Char('/') + kind) && heard.Message.value(field).toString() == value)
                return true;
        }
        if (waited.elapsed() >= ms)
            return false;
        QThread::msleep(10);
    }
}
