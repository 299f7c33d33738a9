#include "InstanceCopy.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

// Two real processes of the program's start-up (the test harness, with boxes
// printed instead of shown) against one guard folder.

namespace {

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
