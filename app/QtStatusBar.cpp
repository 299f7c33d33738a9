#include "QtStatusBar.h"

#include <QLabel>
#include <QMouseEvent>

QtStatusBar::QtStatusBar(QWidget* parent, const QString& name, const QRect& geometry)
    : QStatusBar(parent)
{
    setObjectName(name);
    setSizeGripEnabled(false);
    setGeometry(geometry);
    for (QLabel*& panel : panels_) {
        panel = new QLabel(this);
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        panel->resize(InitialPanelWidth, height());
    }
    PlacePanels();
}

void QtStatusBar::SetText(int panel, const QString& text)
{
    if (QLabel* label = Panel(panel))
        label->setText(text);
}

void QtStatusBar::SetWidth(int panel, int width)
{
    if (QLabel* label = Panel(panel)) {
        label->resize(width, label->height());
        PlacePanels();
    }
}

int QtStatusBar::TextWidth(const QString& text) const
{
    return fontMetrics().horizontalAdvance(text);
}

QString QtStatusBar::PanelText(int panel) const
{
    const QLabel* label = Panel(panel);
    return label ? label->text() : QString();
}

int QtStatusBar::PanelWidth(int panel) const
{
    const QLabel* label = Panel(panel);
    return label ? label->width() : 0;
}

void QtStatusBar::mousePressEvent(QMouseEvent* event)
{
    QStatusBar::mousePressEvent(event);
    emit Clicked();
}

void QtStatusBar::resizeEvent(QResizeEvent* event)
{
    QStatusBar::resizeEvent(event);
    PlacePanels();
}

void QtStatusBar::PlacePanels()
{
    int left = 0;
    for (QLabel* panel : panels_) {
        panel->setGeometry(left, 0, panel->width(), height());
        left += panel->width();
    }
}

QLabel* QtStatusBar::Panel(int panel) const
{
    return panel >= 0 && panel < PanelCount ? panels_[static_cast<std::size_t>(panel)] : nullptr;
}
