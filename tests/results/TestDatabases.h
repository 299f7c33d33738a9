#pragma once

#include <QString>
#include <QTemporaryDir>

// Fresh, empty results databases for a test, each its own: an SQLite file in
// a folder that goes with the object, or a database of the run's PostgreSQL
// server (postgres-server.sh, on 127.0.0.1), made with Debian's createdb.
class TestDatabases {
public:
    QString SqliteUrl(const QString& name = QStringLiteral("results.sqlite")) const;
    // Empty when the run's server cannot be found or the database not made.
    QString PostgresUrl() const;
    // A loopback address where no server listens.
    static QString UnreachablePostgresUrl();
    QString Folder() const { return folder_.path(); }

private:
    QTemporaryDir folder_;
};
