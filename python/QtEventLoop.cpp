#include "QtEventLoop.h"

#include "UiLanguage.h"

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
    auto* application = new QCoreApplication(argc, argv);
    std::setlocale(LC_ALL, locale.c_str());
    // The board's messages in exceptions follow the operator's language; the
    // statistics texts are data, as in the companion.
    InstallTranslation(*application, SystemUiLanguage(), {QString::fromLatin1(StatisticsTextContext)});
}

bool QtEventLoop::InThisThread()
{
    return QCoreApplication::instance() && QCoreApplication::instance()->thread() == QThread::currentThread();
}
