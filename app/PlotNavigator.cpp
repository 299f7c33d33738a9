#include "PlotNavigator.h"

#include <algorithm>

#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QWidget>

#include <cmath>
#include <utility>

namespace {

// One notch of an ordinary wheel.
constexpr double NotchAngle = 120;
// A box smaller than this either way is a click, not a zoom.
constexpr int SmallestBox = 4;

} // namespace

PlotNavigator::PlotNavigator(QWidget* plot, std::function<bool()> accepts)
    : QObject(plot)
    , Plot(plot)
    , Accepts(std::move(accepts))
{
    Plot->setMouseTracking(true);
    Plot->setFocusPolicy(Qt::ClickFocus);
    Plot->installEventFilter(this);
}

bool PlotNavigator::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != Plot)
        return QObject::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::Wheel:
        return Wheel(static_cast<const QWheelEvent&>(*event));
    case QEvent::MouseButtonPress:
        return Press(static_cast<const QMouseEvent&>(*event));
    case QEvent::MouseMove:
        return Move(static_cast<const QMouseEvent&>(*event));
    case QEvent::MouseButtonRelease:
        return Release(static_cast<const QMouseEvent&>(*event));
    case QEvent::MouseButtonDblClick:
        return DoubleClick(static_cast<const QMouseEvent&>(*event));
    case QEvent::KeyPress:
        return Key(static_cast<const QKeyEvent&>(*event));
    case QEvent::Leave:
        emit HoverEnded();
        return false;
    default:
        return false;
    }
}

// Some platforms turn a wheel into a horizontal one while Shift is held.
bool PlotNavigator::Wheel(const QWheelEvent& event)
{
    if (!Accepts())
        return false;
    const QPoint angle = event.angleDelta();
    const double notches = (angle.y() != 0 ? angle.y() : angle.x()) / NotchAngle;
    const QPoint at = event.position().toPoint();
    if (event.modifiers() & Qt::ShiftModifier)
        emit ZoomValues(std::pow(ValueZoomStep, notches), at);
    else
        emit ZoomSamples(std::pow(SampleZoomStep, notches), at);
    emit Hover(at);
    return true;
}

bool PlotNavigator::Press(const QMouseEvent& event)
{
    if (!Accepts())
        return false;
    const bool box = event.button() == Qt::RightButton
                     || (event.button() == Qt::LeftButton && (event.modifiers() & Qt::ControlModifier));
    if (box)
        Dragging = Drag::Box;
    else if (Selecting && event.button() == Qt::LeftButton && (event.modifiers() & Qt::ShiftModifier))
        Dragging = Drag::Select;
    else if (event.button() == Qt::LeftButton)
        Dragging = Drag::Pan;
    else
        return false;
    DragFrom = LastAt = event.position().toPoint();
    return true;
}

bool PlotNavigator::Move(const QMouseEvent& event)
{
    const QPoint at = event.position().toPoint();
    if (!Accepts()) {
        if (std::exchange(Dragging, Drag::None) == Drag::Box)
            emit BandChanged(QRect());
        emit HoverEnded();
        return false;
    }
    if (Dragging == Drag::Pan && at != LastAt)
        emit Pan(at.x() - LastAt.x(), at.y() - LastAt.y());
    else if (Dragging == Drag::Box || Dragging == Drag::Select)
        emit BandChanged(QRect(DragFrom, at).normalized());
    LastAt = at;
    emit Hover(at);
    return Dragging != Drag::None;
}

bool PlotNavigator::Release(const QMouseEvent& event)
{
    const Drag ended = std::exchange(Dragging, Drag::None);
    if (ended == Drag::Select) {
        emit BandChanged(QRect());
        if (Accepts())
            emit Selected(std::min(DragFrom.x(), event.position().toPoint().x()), std::max(DragFrom.x(), event.position().toPoint().x()));
        return true;
    }
    if (ended != Drag::Box)
        return ended == Drag::Pan;
    emit BandChanged(QRect());
    const QRect box = QRect(DragFrom, event.position().toPoint()).normalized();
    if (Accepts() && box.width() >= SmallestBox && box.height() >= SmallestBox)
        emit ZoomToBox(box);
    emit Hover(event.position().toPoint());
    return true;
}

bool PlotNavigator::DoubleClick(const QMouseEvent& event)
{
    if (!Accepts() || event.button() != Qt::LeftButton)
        return false;
    emit Fit();
    return true;
}

bool PlotNavigator::Key(const QKeyEvent& event)
{
    if (!Accepts())
        return false;
    const int columns = Plot->width() / 10;
    const int rows = Plot->height() / 10;
    switch (event.key()) {
    case Qt::Key_Plus:
        emit ZoomSamples(SampleZoomStep, Centre());
        return true;
    case Qt::Key_Minus:
        emit ZoomSamples(1 / SampleZoomStep, Centre());
        return true;
    case Qt::Key_Left:
        emit Pan(columns, 0);
        return true;
    case Qt::Key_Right:
        emit Pan(-columns, 0);
        return true;
    case Qt::Key_Up:
        emit Pan(0, rows);
        return true;
    case Qt::Key_Down:
        emit Pan(0, -rows);
        return true;
    case Qt::Key_Home:
        emit Fit();
        return true;
    default:
        return false;
    }
}

QPoint PlotNavigator::Centre() const
{
    return Plot->rect().center();
}
