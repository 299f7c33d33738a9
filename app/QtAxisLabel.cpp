#include "QtAxisLabel.h"

QtAxisLabel::QtAxisLabel(QWidget* parent, const QString& name, const QRect& geometry, const QString& caption)
    : QLabel(caption, parent)
{
    setObjectName(name);
    setGeometry(geometry);
}

QString QtAxisLabel::Caption() const
{
    return text();
}

void QtAxisLabel::SetCaption(const QString& caption)
{
    setText(caption);
    adjustSize();
}

int QtAxisLabel::Left() const
{
    return x();
}

int QtAxisLabel::Top() const
{
    return y();
}

void QtAxisLabel::SetLeft(int left)
{
    move(left, y());
}

void QtAxisLabel::SetTop(int top)
{
    move(x(), top);
}

int QtAxisLabel::Width() const
{
    return width();
}

int QtAxisLabel::Height() const
{
    return height();
}
