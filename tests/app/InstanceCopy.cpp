#include "InstanceCopy.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcessEnvironment>

#include <gtest/gtest.h>

namespace {

constexpr int WaitMs = 10000;

} // namespace

Copy::Copy(const QString& folder, const QString& mode)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    // Off-screen, unless the test runs on a desktop (see tests/app/CMakeLists.txt).
    environment.insert("QT_QPA_PLATFORM", qEnvironmentVariable("KORVADEX_TEST_PLATFORM", QStringLiteral("offscreen")));
    process_.setProcessEnvironment(environment);
    // A file rather than a pipe: under Wine a pipe read by the test lost the
    // copy's lines, a file never did.
    process_.setStandardOutputFile(OutputPath());
    process_.start(QStringLiteral(INSTANCE_HARNESS), {folder, mode});
    EXPECT_TRUE(process_.waitForStarted(WaitMs));
}

Copy::~Copy()
{
    if (process_.state() != QProcess::NotRunning) {
        process_.kill();
        process_.waitForFinished(WaitMs);
    }
}

bool Copy::Says(const QString& line)
{
    QElapsedTimer elapsed;
    elapsed.start();
    while (!Lines().contains(line)) {
        if (elapsed.elapsed() > WaitMs)
            return false;
        if (process_.waitForFinished(100) || process_.state() == QProcess::NotRunning) {
            Collect();
            return Lines().contains(line);
        }
        Collect();
    }
    return true;
}

int Copy::ExitCode()
{
    if (!process_.waitForFinished(WaitMs) && process_.state() != QProcess::NotRunning)
        return -1;
    Collect();
    return process_.exitStatus() == QProcess::NormalExit ? process_.exitCode() : -1;
}

void Copy::Crash()
{
    process_.kill();
    process_.waitForFinished(WaitMs);
}

QStringList Copy::Lines() const
{
    return QString::fromUtf8(lines_).split('\n', Qt::SkipEmptyParts);
}

void Copy::Collect()
{
    QFile file(OutputPath());
    if (file.open(QIODevice::ReadOnly))
        lines_ = file.readAll().replace("\r\n", "\n");
}

QString Copy::OutputPath() const
{
    return QDir(output_.path()).filePath(QStringLiteral("stdout.txt"));
}
