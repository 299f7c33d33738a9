#pragma once

#include <QJsonObject>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

#include <memory>
#include <mutex>
#include <vector>

struct mosquitto;

// Debian's mosquitto on 127.0.0.1 for a test. On Linux each test starts its
// own, on a free port, from a configuration file written here, and stops it
// by its process id (Broker_posix.cpp). Under Wine a test cannot start a
// Linux program: ctest starts two for the whole run before the first test
// (tests/publish/mqtt-brokers.sh, one anonymous, one that wants user "lab"
// with password "right") and stops them after the last; there Start finds
// them and Stop cannot be had (Broker_win.cpp).
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
    QString password_;
    QTemporaryDir folder_;
    QProcess process_;
    int port_ = 0;
};

// One message heard.
struct Heard {
    QString Topic;
    QJsonObject Message;
};

// A libmosquitto client subscribed to every topic under a prefix, from its
// start on (and the retained messages there).
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
    mosquitto* client_ = nullptr;
    std::mutex mutex_;
    std::vector<Heard> heard_;
    bool subscribed_ = false;
};
