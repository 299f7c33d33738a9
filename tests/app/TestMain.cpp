#include <QApplication>

#include <gtest/gtest.h>

// The window tests need a GUI application; ctest runs them on the offscreen
// platform, so nothing appears and nothing waits for a person.
int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
