#include "SingleInstance.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>

// The guard is a lock file; the first copy's window is reached through a
// local socket beside it, which that copy opens once its window exists.
// A later copy connects, and after the operator has read its notice sends
// one line asking for the window.

namespace {

constexpr int ConnectWaitMs = 1000;
constexpr int WriteWaitMs = 1000;
const QByteArray ShowRequest = "show\n";

} // namespace

struct SingleInstance::Guard {
    Guard(const QString& name, const QString& folder)
        : Lock(QDir(folder).filePath(name + QStringLiteral(".lock")))
        , ServerPath(QDir(folder).filePath(name + QStringLiteral(".socket")))
    {
        // A lock is stale only when its owner is gone, however old it is: a
        // copy may run for weeks.
        Lock.setStaleLockTime(0);
    }

    QLockFile Lock;
    QString ServerPath;
    QLocalSocket Other;
    QLocalServer Server;
};

SingleInstance::SingleInstance(const QString& name, const QString& folder)
    : guard_(std::make_unique<Guard>(name, folder))
{
}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::DefaultFolder()
{
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    return runtime.isEmpty() ? QDir::tempPath() : runtime;
}

bool SingleInstance::Claim()
{
    // A lock left by a copy that crashed is taken over: its process is gone.
    if (guard_->Lock.tryLock(0))
        return true;
    return guard_->Lock.error() != QLockFile::LockFailedError;
}

bool SingleInstance::FindOther()
{
    guard_->Other.connectToServer(guard_->ServerPath);
    return guard_->Other.waitForConnected(ConnectWaitMs);
}

void SingleInstance::ActivateOther()
{
    guard_->Other.write(ShowRequest);
    guard_->Other.waitForBytesWritten(WriteWaitMs);
    guard_->Other.disconnectFromServer();
}

void SingleInstance::AnswerOthers(QWidget* window)
{
    QLocalServer& server = guard_->Server;
    // This copy holds the lock, so a socket already there is a crashed
    // copy's, or another program's: it is taken over.
    QLocalServer::removeServer(guard_->ServerPath);
    server.setSocketOptions(QLocalServer::UserAccessOption);
    if (!server.listen(guard_->ServerPath))
        return;
    QObject::connect(&server, &QLocalServer::newConnection, &server, [&server, window] {
        while (QLocalSocket* caller = server.nextPendingConnection()) {
            QObject::connect(caller, &QLocalSocket::disconnected, caller, &QObject::deleteLater);
            QObject::connect(caller, &QLocalSocket::readyRead, caller, [caller, window] {
                if (caller->bytesAvailable() < ShowRequest.size())
                    return;
                if (caller->read(ShowRequest.size()) == ShowRequest)
                    BringWindowToFront(window);
                caller->disconnectFromServer();
            });
        }
    });
}
