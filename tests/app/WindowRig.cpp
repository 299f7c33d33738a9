#include "WindowRig.h"

#include "FormMainProbe.h"

#include <QElapsedTimer>
#include <QLabel>

WindowRig::WindowRig(ComponentFactory* factory)
    : clock(std::chrono::microseconds(100))
    , board(clock)
    , driver(board, &clock)
    , window(std::make_unique<TFormMain>(
          WindowServices{driver, messages, confirm, files, factory ? *factory : components}))
{
}

WindowRig::~WindowRig() = default;

QtStatusBar& WindowRig::Bar() const
{
    return *Find<QtStatusBar>("StatusBar1");
}

QString WindowRig::Panel(int panel) const
{
    return Bar().PanelText(panel);
}

QString WindowRig::Label(const char* name) const
{
    const QLabel* label = Find<QLabel>(name);
    return label ? label->text() : QString();
}

QString WindowRig::OnlyBox() const
{
    if (messages.Boxes.size() != 1)
        return QStringLiteral("%1 boxes").arg(messages.Boxes.size());
    return messages.Boxes[0].Text;
}

void WindowRig::Settle()
{
    const FormMainProbe probe(*window);
    QElapsedTimer elapsed;
    elapsed.start();
    do {
        QApplication::processEvents();
    } while (probe.IdleScheduled() && elapsed.elapsed() < 1000);
}
