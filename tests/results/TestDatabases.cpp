#include "TestDatabases.h"

#include <QDir>
#include <QFile>
#include <QTcpServer>

namespace {

const QDir ServerFolder(QStringLiteral(POSTGRES_DIR));

QString ServerPort()
{
    QFile file(ServerFolder.filePath(QStringLiteral("port")));
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
    const QString port = ServerPort();
    for (int database = 1; !port.isEmpty(); ++database) {
        QFile taken(ServerFolder.filePath(QStringLiteral("taken-%1").arg(database)));
        if (taken.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            return Url(port, QStringLiteral("results_%1").arg(database));
        if (taken.error() != QFileDevice::OpenError || !taken.exists())
            break;
    }
    return QString();
}

QString TestDatabases::UnreachablePostgresUrl()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    const QString port = QString::number(probe.serverPort());
    probe.close();
    return Url(port, QStringLiteral("results"));
}
