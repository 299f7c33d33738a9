#include "MeasuredLabel.h"

#include "LabelMetrics.h"

MeasuredLabel::MeasuredLabel(const LabelMetrics* metrics)
    : metrics_(metrics)
    , size_(0, 0)
{
}

QString MeasuredLabel::Caption() const
{
    return caption_;
}

void MeasuredLabel::SetCaption(const QString& caption)
{
    caption_ = caption;
    if (metrics_)
        size_ = metrics_->CaptionSize(caption);
}

int MeasuredLabel::Left() const
{
    return left_;
}

int MeasuredLabel::Top() const
{
    return top_;
}

void MeasuredLabel::SetLeft(int left)
{
    left_ = left;
}

void MeasuredLabel::SetTop(int top)
{
    top_ = top;
}

int MeasuredLabel::Width() const
{
    return size_.width();
}

int MeasuredLabel::Height() const
{
    return size_.height();
}
