#include "QtEventLoop.h"

#include <QCoreApplication>
#include <QThread>

#include <clocale>
#include <string>

void QtEventLoop::Ensure()
{
    if (QCoreApplication::instance())
        return;
    const std::string locale = std::setlocale(LC_ALL, nullptr);
    // Qt keeps argc and argv for the application's life.
    static int argc = 1;
    static char name[] = "korvadex";
    static char* argv[] = {name, nullptr};
    new QCoreApplication(argc, argv);
    std::setlocale(LC_ALL, locale.c_str());
}

bool QtEventLoop::InThisThread()
{
    return QCoreApplication::instance() && QCoreApplication::instance()->thread() == QThread::currentThread();
}
