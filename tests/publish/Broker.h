#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

#include <vector>

// Debian's mosquitto, started for a test on 127.0.0.1 and a free port from
// a configuration file written here, and stopped by its process id.
class Broker {
public:
    // With `password` a user "lab" must give it; anonymous clients otherwise.
    explicit Broker(const QString& password = QString());
    ~Broker();

    bool Start();  // false when it does not listen within five seconds
    void Stop();
    int Port() const { return port_; }
    QString Url(const QString& prefix) const;

private:
    QTemporaryDir folder_;
    QProcess process_;
    int port_ = 0;
};

// One message as mosquitto_sub -v prints it.
struct Heard {
    QString Topic;
    QJsonObject Message;
};

// mosquitto_sub on every topic under a prefix, from its start on (and the
// retained messages there).
class Listener {
public:
    Listener(const Broker& broker, const QString& prefix);
    ~Listener();

    // What came so far.
    std::vector<Heard> Messages();
    // Waits up to `ms` for a message whose topic ends in `kind` and whose
    // field `field` is `value`.
    bool WaitFor(const QString& kind, const QString& field, const QString& value, int ms);

private:
    QProcess process_;
    QByteArray pending_;
    std::vector<Heard> heard_;
};
