#include "TestDatabases.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTcpServer>

#include <atomic>

namespace {

QString ServerPort()
{
    QFile file(QDir(QStringLiteral(POSTGRES_DIR)).filePath(QStringLiteral("port")));
    return file.open(QIODevice::ReadOnly) ? QString::fromLatin1(file.readAll()).trimmed() : QString();
}

QString Url(const QString& port, const QString& database)
{
    return QStringLiteral("postgresql://korvadex@127.0.0.1:%1/%2").arg(port, database);
}

} // namespace

QString TestDatabases::SqliteUrl(const QString& name) const
{
    return QStringLiteral("sqlite:") + QDir(folder_.path()).filePath(name);
}

QString TestDatabases::PostgresUrl() const
{
    static std::atomic<int> made{0};
    const QString port = ServerPort();
    if (port.isEmpty())
        return QString();
    const QString database = QStringLiteral("results_%1_%2").arg(QCoreApplication::applicationPid()).arg(++made);
    const int created = QProcess::execute(QStringLiteral("/usr/lib/postgresql/15/bin/createdb"),
                                          {QStringLiteral("-h"), QStringLiteral("127.0.0.1"), QStringLiteral("-p"), port,
                                           QStringLiteral("-U"), QStringLiteral("korvadex"), database});
    return created == 0 ? Url(port, database) : QString();
}

QString TestDatabases::UnreachablePostgresUrl()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    const QString port = QString::number(probe.serverPort());
    probe.close();
    return Url(port, QStringLiteral("results"));
}
