// A copy of the program for the single-instance tests: the start-up of
// korvadex itself, but with its guard in the folder given as the first
// argument, every box printed to standard output instead of shown, and no
// board. It prints one line for each of these moments:
//   notice|<caption>|<text>   a box the program would have shown
//   ready                     the window is up and answers later copies
//   front                     asked to come forward, the window left its minimised state
// A second argument "minimised" starts the window minimised; "close" closes it
// once it is ready, as the operator would.

#include "ComponentFactory.h"
#include "DetachedD2xx.h"
#include "GuardName.h"
#include "GuardedApplication.h"
#include "KORVADEX_Main.h"
#include "Startup.h"
#include "TestDoubles.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>

#include <cstdio>

namespace {

void Print(const QString& line)
{
    std::printf("%s\n", line.toUtf8().constData());
    std::fflush(stdout);
}

class PrintingPresenter : public MessagePresenter {
public:
    void ShowError(const QString& caption, const QString& text) override
    {
        Print(QStringLiteral("notice|") + caption + QLatin1Char('|') + text);
    }
};

// Reports the window coming out of its minimised state.
class FrontWatch : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        const auto* window = static_cast<QWidget*>(watched);
        if (event->type() == QEvent::WindowStateChange && !window->isMinimized())
            Print(QStringLiteral("front"));
        return false;
    }
};

TFormMain* MainWindow()
{
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* window = qobject_cast<TFormMain*>(widget))
            return window;
    }
    return nullptr;
}

} // namespace

int main(int argc, char** argv)
{
    GuardedApplication application(argc, argv);
    const QStringList arguments = QApplication::arguments();
    const QString folder = arguments.value(1);
    const QString mode = arguments.value(2);

    PrintingPresenter notices;
    DetachedD2xx driver;
    ScriptedConfirm confirm;
    ScriptedFiles files;
    ComponentFactory components;
    FrontWatch watch;

    // Runs once the event loop does, that is after the window answers others.
    QTimer::singleShot(0, [&] {
        TFormMain* window = MainWindow();
        if (!window)
            return;
        if (mode == QLatin1String("minimised"))
            window->showMinimized();
        window->installEventFilter(&watch);
        Print(QStringLiteral("ready"));
        if (mode == QLatin1String("close"))
            window->close();
    });

    const StartupServices services{GuardNameFor(folder), folder, notices,
                                   {driver, notices, confirm, files, components}};
    return RunProgram(application, services);
}
