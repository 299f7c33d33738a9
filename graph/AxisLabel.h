#pragma once

#include <QString>

// One axis label beside the plot, as the graph sees it. The window implements
// it with a label widget; the tests with a plain object. A label sizes itself
// to its caption, so Width() and Height() follow the last SetCaption.
class AxisLabel {
public:
    virtual ~AxisLabel() = default;

    virtual QString Caption() const = 0;
    virtual void SetCaption(const QString& caption) = 0;
    virtual int Left() const = 0;
    virtual int Top() const = 0;
    virtual void SetLeft(int left) = 0;
    virtual void SetTop(int top) = 0;
    virtual int Width() const = 0;
    virtual int Height() const = 0;
};
