#include "Startup.h"

#include "GuardedApplication.h"
#include "KORVADEX_Main.h"
#include "MessagePresenter.h"
#include "SingleInstance.h"

#include <exception>
#include <memory>

namespace {

const char* const ApplicationTitle = "KORVADEX";

// Runs the main window until it is closed.
void RunMainWindow(QApplication& application, const StartupServices& services, SingleInstance& guard)
{
    const auto window = std::make_unique<TFormMain>(services.Window);
    // A component that could not be made has been reported; the window
    // closed itself and the program ends.
    if (!window->ComponentsCreated())
        return;
    guard.AnswerOthers(window.get());
    window->show();
    // "korvadex LOG": the log opens beside the window.
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() > 1)
        window->OpenLogFile(arguments.at(1));
    application.exec();
}

} // namespace

int RunProgram(GuardedApplication& application, const StartupServices& services)
{
    // The title stands for the program on the desktop. It is not the display
    // name, which Qt would append to every window's and box's caption.
    QApplication::setApplicationName(QString::fromLatin1(ApplicationTitle));

    SingleInstance guard(services.GuardName, services.GuardFolder);
    if (!guard.Claim()) {
        if (guard.FindOther()) {
            services.Notices.ShowError(QString::fromLatin1(ApplicationTitle),
                                       QCoreApplication::translate("Startup", "KORVADEX はすでに起動しています"));
            guard.ActivateOther();
        }
        return 1;
    }

    const auto showException = [&services](const std::exception& e) {
        services.Notices.ShowError(QString::fromLatin1(ApplicationTitle), QString::fromLocal8Bit(e.what()));
    };
    application.SetExceptionDisplay(showException);
    try {
        RunMainWindow(application, services, guard);
    } catch (const std::exception& e) {
        showException(e);
    }
    // The display refers to the services, which end with this call.
    application.SetExceptionDisplay(nullptr);
    return 0;
}
