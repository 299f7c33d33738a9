#include "TestApplication.h"

#include <QApplication>

void EnsureTestApplication()
{
    static int argc = 1;
    static char name[] = "cli_tests";
    static char* argv[] = {name, nullptr};
    static QApplication application(argc, argv);
}
