// The POSIX guard: its lock file and socket in the guard folder.

#include "InstanceCopy.h"

#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLockFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TEST(SingleInstance, GuardHeldButNoWindowToBeFoundEndsWithOneSilently)
{
    const QTemporaryDir folder;
    // A copy still starting: it holds the guard but does not answer yet.
    QLockFile starting(QDir(folder.path()).filePath(GuardNameFor(folder.path()) + ".lock"));
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
    ASSERT_TRUE(QFile::exists(QDir(folder.path()).filePath(GuardNameFor(folder.path()) + ".lock"))) << "the crash left its guard behind";

    Copy next(folder.path());
    EXPECT_TRUE(next.Says("ready"));
    EXPECT_FALSE(next.Lines().contains(Notice));
}

TEST(SingleInstance, AnotherProgramAnsweringUnderTheSameNameDoesNotBlockTheStart)
{
    const QTemporaryDir folder;
    QLocalServer other;
    ASSERT_TRUE(other.listen(QDir(folder.path()).filePath(GuardNameFor(folder.path()) + ".socket")));

    Copy copy(folder.path());
    EXPECT_TRUE(copy.Says("ready"));
    EXPECT_FALSE(copy.Lines().contains(Notice));
}

} // namespace
