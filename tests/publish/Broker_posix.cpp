#include "Broker.h"

#include <QElapsedTimer>
#include <QFile>
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
    : password_(password)
    , port_(FreePort())
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
