#pragma once

#include "AxisLabel.h"

#include <QSize>

class LabelMetrics;

// An axis label without a window: it keeps its caption and position and
// fits itself to each new caption with the window's label font. Without
// metrics (commands that draw nothing) it measures 0 × 0.
class MeasuredLabel : public AxisLabel {
public:
    explicit MeasuredLabel(const LabelMetrics* metrics = nullptr);

    QString Caption() const override;
    void SetCaption(const QString& caption) override;
    int Left() const override;
    int Top() const override;
    void SetLeft(int left) override;
    void SetTop(int top) override;
    int Width() const override;
    int Height() const override;

private:
    const LabelMetrics* metrics_;
    QString caption_;
    int left_ = 0;
    int top_ = 0;
    QSize size_;
};
