#include "ComponentFactory.h"
#include "D2xxLoader.h"
#include "GuardedApplication.h"
#include "QtDialogs.h"
#include "SingleInstance.h"
#include "Startup.h"
#include "UiLanguage.h"

// The program reads no command line: every start begins with the same
// defaults. The environment chooses only the language of its texts.
int main(int argc, char* argv[])
{
    GuardedApplication application(argc, argv);
    InstallTranslation(application, SystemUiLanguage());
    const std::unique_ptr<D2xx> driver = LoadD2xx();
    QtMessageBox messages;
    QtConfirmBox confirm;
    QtFileDialogs files;
    QtBoardChooser boards;
    ComponentFactory components;
    const StartupServices services{
        QStringLiteral("KORVADEX"),
        SingleInstance::DefaultFolder(),
        messages,
        {*driver, messages, confirm, files, components, &boards},
    };
    return RunProgram(application, services);
}
