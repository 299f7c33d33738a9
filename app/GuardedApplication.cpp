#include "GuardedApplication.h"

#include <utility>

GuardedApplication::GuardedApplication(int& argc, char** argv)
    : QApplication(argc, argv)
{
}

GuardedApplication* GuardedApplication::Instance()
{
    return dynamic_cast<GuardedApplication*>(QCoreApplication::instance());
}

void GuardedApplication::SetExceptionDisplay(ExceptionDisplay display)
{
    display_ = std::move(display);
}

bool GuardedApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        if (!display_)
            throw;
        display_(e);
        return false;
    }
}
