#pragma once

#include "AxisLabel.h"

#include <QLabel>

// An axis label beside the plot: a plain label that sizes itself to each new
// caption, so the graph can place it by its measured width and height.
class QtAxisLabel : public QLabel, public AxisLabel {
public:
    QtAxisLabel(QWidget* parent, const QString& name, const QRect& geometry, const QString& caption);

    QString Caption() const override;
    void SetCaption(const QString& caption) override;
    int Left() const override;
    int Top() const override;
    void SetLeft(int left) override;
    void SetTop(int top) override;
    int Width() const override;
    int Height() const override;
};
