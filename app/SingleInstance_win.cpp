#include "SingleInstance.h"

#include <QWidget>

#include <windows.h>

// The guard is the named mutex; the first copy is found by the title of a
// hidden top-level window of its own, which exists only while its main
// window does. The main window's caption is longer, so the title finds
// nothing else of this program. A later copy lets the first one take the
// foreground and posts it a request; the first copy then restores and raises
// its main window itself.

namespace {

UINT ShowRequest()
{
    static const UINT message = RegisterWindowMessageA("KORVADEX.ShowWindow");
    return message;
}

// The program's hidden application window, titled with the guard's name.
class ApplicationWindow : public QWidget {
public:
    ApplicationWindow(const QString& title, QWidget* mainWindow)
        : mainWindow_(mainWindow)
    {
        setWindowTitle(title);
        winId(); // the native window must exist to be found while hidden
    }

protected:
    bool nativeEvent(const QByteArray& eventType, void* message, qintptr* result) override
    {
        const MSG* msg = static_cast<const MSG*>(message);
        if (eventType == "windows_generic_MSG" && msg->message == ShowRequest()) {
            BringWindowToFront(mainWindow_);
            *result = 0;
            return true;
        }
        return QWidget::nativeEvent(eventType, message, result);
    }

private:
    QWidget* mainWindow_;
};

} // namespace

struct SingleInstance::Guard {
    QByteArray Name;
    HWND Other = nullptr;
    std::unique_ptr<ApplicationWindow> Window;
};

SingleInstance::SingleInstance(const QString& name, const QString&)
    : guard_(std::make_unique<Guard>())
{
    guard_->Name = name.toLocal8Bit();
}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::DefaultFolder()
{
    return QString();
}

bool SingleInstance::Claim()
{
    if (HANDLE existing = OpenMutexA(MUTEX_ALL_ACCESS, FALSE, guard_->Name.constData())) {
        CloseHandle(existing);
        return false;
    }
    // Held, and never closed, until the process ends; the system releases
    // it then. A failure leaves this copy unguarded.
    SECURITY_ATTRIBUTES attributes{sizeof attributes, nullptr, TRUE};
    CreateMutexA(&attributes, TRUE, guard_->Name.constData());
    return true;
}

bool SingleInstance::FindOther()
{
    guard_->Other = FindWindowA(nullptr, guard_->Name.constData());
    return guard_->Other != nullptr;
}

void SingleInstance::ActivateOther()
{
    DWORD owner = 0;
    GetWindowThreadProcessId(guard_->Other, &owner);
    AllowSetForegroundWindow(owner);
    PostMessageA(guard_->Other, ShowRequest(), 0, 0);
}

void SingleInstance::AnswerOthers(QWidget* window)
{
    guard_->Window = std::make_unique<ApplicationWindow>(QString::fromLocal8Bit(guard_->Name), window);
}
