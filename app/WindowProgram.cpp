#include "WindowProgram.h"

#include "ComponentFactory.h"
#include "D2xxLoader.h"
#include "GuardedApplication.h"
#include "QtDialogs.h"
#include "RecordDialog.h"
#include "SingleInstance.h"
#include "Startup.h"
#include "UiLanguage.h"

int RunWindowProgram(GuardedApplication& application)
{
    InstallTranslation(application, SystemUiLanguage());
    const std::unique_ptr<D2xx> driver = LoadD2xx();
    QtMessageBox messages;
    QtConfirmBox confirm;
    QtFileDialogs files;
    QtBoardChooser boards;
    QtRecordAsker records;
    ComponentFactory components;
    const StartupServices services{
        QStringLiteral("KORVADEX"),
        SingleInstance::DefaultFolder(),
        messages,
        {*driver, messages, confirm, files, components, &boards, &records},
    };
    return RunProgram(application, services);
}
