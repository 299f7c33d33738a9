#include "GuardedApplication.h"

#include <gtest/gtest.h>

// The window tests need the program's GUI application. They run on the offscreen
// platform, also when ctest lists them, so nothing appears and nothing waits
// for a person.
int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    GuardedApplication application(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
