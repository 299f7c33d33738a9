#include "QtApplication.h"

#include <QCoreApplication>

void EnsureQtApplication()
{
    static int argc = 1;
    static char name[] = "sim_link_tests";
    static char* argv[] = {name, nullptr};
    static QCoreApplication application(argc, argv);
}
