#pragma once

#include <QString>
#include <QTemporaryDir>

// Fresh, empty results databases for a test, each its own: an SQLite file in
// a folder that goes with the object, or one of the empty databases of the
// run's PostgreSQL server (postgres-server.sh, on 127.0.0.1), taken by
// making its file "taken-N" beside the server's port, which only one test
// of the run can.
class TestDatabases {
public:
    QString SqliteUrl(const QString& name = QStringLiteral("results.sqlite")) const;
    // Empty when the run's server cannot be found or has no database left.
    QString PostgresUrl() const;
    // A loopback address where no server listens.
    static QString UnreachablePostgresUrl();
    QString Folder() const { return folder_.path(); }

private:
    QTemporaryDir folder_;
};
