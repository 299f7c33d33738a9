#include "SingleInstance.h"

#include <QWidget>

void BringWindowToFront(QWidget* window)
{
    window->showNormal();
    window->raise();
    window->activateWindow();
}
