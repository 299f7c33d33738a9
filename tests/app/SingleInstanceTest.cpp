#include <QDir>
#include <QElapsedTimer>
#include <QLocalServer>
#include <QLockFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// Two real processes of the program's start-up (the test harness, with boxes
// printed instead of shown) against one guard folder.

namespace {

constexpr int WaitMs = 10000;

const char* const Notice = "notice|KORVADEX|KORVADEX はすでに起動しています";

class Copy {
public:
    Copy(const QString& folder, const QString& mode = QString())
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        process_.setProcessEnvironment(environment);
        process_.start(QStringLiteral(INSTANCE_HARNESS), {folder, mode});
        EXPECT_TRUE(process_.waitForStarted(WaitMs));
    }

    ~Copy()
    {
        if (process_.state() != QProcess::NotRunning) {
            process_.kill();
            process_.waitForFinished(WaitMs);
        }
    }

    // Waits until the copy has printed line; false if it ended or took too long.
    bool Says(const QString& line)
    {
        QElapsedTimer elapsed;
        elapsed.start();
        while (!Lines().contains(line)) {
            if (elapsed.elapsed() > WaitMs)
                return false;
            if (!process_.waitForReadyRead(100) && process_.state() == QProcess::NotRunning) {
                Collect();
                return Lines().contains(line);
            }
            Collect();
        }
        return true;
    }

    // Waits for the copy to end and returns its exit code (-1: it did not).
    int ExitCode()
    {
        if (!process_.waitForFinished(WaitMs) && process_.state() != QProcess::NotRunning)
            return -1;
        Collect();
        return process_.exitStatus() == QProcess::NormalExit ? process_.exitCode() : -1;
    }

    void Crash()
    {
        process_.kill();
        process_.waitForFinished(WaitMs);
    }

    QStringList Lines() const { return QString::fromUtf8(output_).split('\n', Qt::SkipEmptyParts); }

private:
    void Collect() { output_ += process_.readAllStandardOutput(); }

    QProcess process_;
    QByteArray output_;
};

TEST(SingleInstance, SecondCopyTellsTheOperatorBringsTheFirstForwardAndEndsWithOne)
{
    const QTemporaryDir folder;
    Copy first(folder.path(), "minimised");
    ASSERT_TRUE(first.Says("ready"));

    Copy second(folder.path());
    EXPECT_EQ(second.ExitCode(), 1);
    EXPECT_EQ(second.Lines(), QStringList({Notice})) << "the notice and no window";
    EXPECT_TRUE(first.Says("front")) << "the first copy is restored and raised after the notice";
}

TEST(SingleInstance, GuardHeldButNoWindowToBeFoundEndsWithOneSilently)
{
    const QTemporaryDir folder;
    // A copy still starting: it holds the guard but does not answer yet.
    QLockFile starting(QDir(folder.path()).filePath("KORVADEX.lock"));
    ASSERT_TRUE(starting.tryLock(0));

    Copy second(folder.path());
    EXPECT_EQ(second.ExitCode(), 1);
    EXPECT_TRUE(second.Lines().isEmpty()) << second.Lines().join('\n').toStdString();
}

TEST(SingleInstance, GuardLeftByACrashedCopyDoesNotBlockTheNextStart)
{
    const QTemporaryDir folder;
    Copy crashed(folder.path());
    ASSERT_TRUE(crashed.Says("ready"));
    crashed.Crash();
    ASSERT_TRUE(QFile::exists(QDir(folder.path()).filePath("KORVADEX.lock"))) << "the crash left its guard behind";

    Copy next(folder.path());
    EXPECT_TRUE(next.Says("ready"));
    EXPECT_FALSE(next.Lines().contains(Notice));
}

TEST(SingleInstance, AnotherProgramAnsweringUnderTheSameNameDoesNotBlockTheStart)
{
    const QTemporaryDir folder;
    QLocalServer other;
    ASSERT_TRUE(other.listen(QDir(folder.path()).filePath("KORVADEX.socket")));

    Copy copy(folder.path());
    EXPECT_TRUE(copy.Says("ready"));
    EXPECT_FALSE(copy.Lines().contains(Notice));
}

TEST(SingleInstance, AfterTheFirstCopyHasEndedANewStartSucceeds)
{
    const QTemporaryDir folder;
    Copy first(folder.path(), "close");
    EXPECT_EQ(first.ExitCode(), 0);
    EXPECT_TRUE(first.Lines().contains("ready"));

    Copy next(folder.path());
    EXPECT_TRUE(next.Says("ready"));
}

} // namespace
