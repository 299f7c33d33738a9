#include "Broker.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>

namespace {

int FreePort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

bool Listens(int port)
{
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, static_cast<quint16>(port));
    return socket.waitForConnected(200);
}

} // namespace

Broker::Broker(const QString& password)
    : port_(FreePort())
{
    // mosquitto started as root reads its password file as the user it
    // drops to.
    QFile::setPermissions(folder_.path(), QFile::permissions(folder_.path()) | QFile::ReadOther | QFile::ExeOther);
    QString config = QStringLiteral("listener %1 127.0.0.1\npersistence false\n").arg(port_);
    if (password.isEmpty()) {
        config += QStringLiteral("allow_anonymous true\n");
    } else {
        const QString users = folder_.filePath(QStringLiteral("users"));
        QProcess::execute(QStringLiteral("mosquitto_passwd"), {QStringLiteral("-b"), QStringLiteral("-c"), users,
                                                               QStringLiteral("lab"), password});
        config += QStringLiteral("allow_anonymous false\npassword_file %1\n").arg(users);
    }
    QFile file(folder_.filePath(QStringLiteral("mosquitto.conf")));
    if (file.open(QIODevice::WriteOnly))
        file.write(config.toUtf8());
}

Broker::~Broker()
{
    Stop();
}

bool Broker::Start()
{
    process_.start(QStringLiteral("/usr/sbin/mosquitto"), {QStringLiteral("-c"), folder_.filePath(QStringLiteral("mosquitto.conf"))});
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < 5000) {
        if (Listens(port_))
            return true;
        QThread::msleep(20);
    }
    return false;
}

void Broker::Stop()
{
    if (process_.state() == QProcess::NotRunning)
        return;
    process_.terminate();
    if (!process_.waitForFinished(3000)) {
        process_.kill();
        process_.waitForFinished(3000);
    }
}

QString Broker::Url(const QString& prefix) const
{
    return QStringLiteral("mqtt://127.0.0.1:%1/%2").arg(port_).arg(prefix);
}

Listener::Listener(const Broker& broker, const QString& prefix)
{
    process_.start(QStringLiteral("mosquitto_sub"), {QStringLiteral("-h"), QStringLiteral("127.0.0.1"), QStringLiteral("-p"),
                                                    QString::number(broker.Port()), QStringLiteral("-v"), QStringLiteral("-q"),
                                                    QStringLiteral("1"), QStringLiteral("-t"), prefix + QStringLiteral("/#")});
    process_.waitForStarted(5000);
    // Subscribed once it hears what is published after it.
    for (int tries = 0; tries < 50; ++tries) {
        QProcess::execute(QStringLiteral("mosquitto_pub"), {QStringLiteral("-h"), QStringLiteral("127.0.0.1"), QStringLiteral("-p"),
                                                           QString::number(broker.Port()), QStringLiteral("-t"),
                                                           prefix + QStringLiteral("/listener"), QStringLiteral("-m"),
                                                           QStringLiteral("{\"ready\":\"yes\"}")});
        if (WaitFor(QStringLiteral("listener"), QStringLiteral("ready"), QStringLiteral("yes"), 100))
            return;
    }
}

Listener::~Listener()
{
    process_.kill();
    process_.waitForFinished(3000);
}

std::vector<Heard> Listener::Messages()
{
    process_.waitForReadyRead(10);
    pending_ += process_.readAllStandardOutput();
    for (int end = pending_.indexOf('\n'); end >= 0; end = pending_.indexOf('\n')) {
        const QByteArray line = pending_.left(end);
        pending_.remove(0, end + 1);
        const int space = line.indexOf(' ');
        heard_.push_back({QString::fromUtf8(line.left(space)), QJsonDocument::fromJson(line.mid(space + 1)).object()});
    }
    return heard_;
}

bool Listener::WaitFor(const QString& kind, const QString& field, const QString& value, int ms)
{
    QElapsedTimer waited;
    waited.start();
    do {
        for (const Heard& heard : Messages()) {
            if (heard.Topic.endsWith(QLatin1Char('/') + kind) && heard.Message.value(field).toString() == value)
                return true;
        }
        QCoreApplication::processEvents();
    } while (waited.elapsed() < ms);
    return false;
}
