#include "Recorder.h"

#include "ExitCode.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {

constexpr int StopWaitMs = 10000;

QString ProgramName()
{
#ifdef _WIN32
    return QStringLiteral("korvadex-cli.exe");
#else
    return QStringLiteral("korvadex-cli");
#endif
}

// The last line of a process's output that says anything.
QString LastLine(const QByteArray& output)
{
    const QStringList lines = QString::fromUtf8(output).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (auto line = lines.crbegin(); line != lines.crend(); ++line) {
        if (!line->trimmed().isEmpty())
            return line->trimmed();
    }
    return QString();
}

} // namespace

QString Recorder::Companion()
{
    const QString named = qEnvironmentVariable("KORVADEX_CLI");
    if (!named.isEmpty())
        return named;
    const QString beside = QDir(QCoreApplication::applicationDirPath()).filePath(ProgramName());
    if (QFileInfo::exists(beside))
        return beside;
    return QStringLiteral(KORVADEX_BUILD_COMPANION);
}

Recorder::Recorder(QObject* parent)
    : QObject(parent)
{
    connect(&process_, &QProcess::finished, this, &Recorder::Finished);
}

Recorder::~Recorder()
{
    if (Recording()) {
        Stop();
        WaitForEnd(StopWaitMs);
    }
}

bool Recorder::Start(const RecordRequest& request, QString& error)
{
    request_ = request;
    process_.start(Companion(), request.CompanionWords());
    if (!process_.waitForStarted()) {
        error = tr("%1 を起動できません: %2").arg(Companion(), process_.errorString());
        return false;
    }
    elapsed_.start();
    return true;
}

void Recorder::Stop()
{
    process_.closeWriteChannel();
}

bool Recorder::Recording() const
{
    return process_.state() != QProcess::NotRunning;
}

bool Recorder::WaitForEnd(int ms)
{
    return !Recording() || process_.waitForFinished(ms);
}

void Recorder::Finished(int exitCode, QProcess::ExitStatus status)
{
    const QString out = LastLine(process_.readAllStandardOutput());
    const QString err = QString::fromUtf8(process_.readAllStandardError()).trimmed();
    const bool done = status == QProcess::NormalExit && (exitCode == ExitDone || exitCode == ExitStopped);
    if (done) {
        emit Ended(true, out);
        return;
    }
    const QString why = err.isEmpty() ? tr("記録が終了コード %1 で終わりました").arg(exitCode) : err;
    emit Ended(false, out.isEmpty() ? why : why + QLatin1Char('\n') + out);
}
