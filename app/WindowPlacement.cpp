#include "WindowPlacement.h"

#include <algorithm>

namespace {

// Between the owner's frame and the window beside it.
constexpr int Gap = 8;

// The start of a span of the given length moved, as little as it must be, to
// lie between first and last (inclusive); a span too long starts at first.
int KeepInside(int start, int length, int first, int last)
{
    return std::max(first, std::min(start, last + 1 - length));
}

} // namespace

QRect PlaceBeside(const QRect& owner, const QSize& size, const QRect& available)
{
    const QSize fitted = size.boundedTo(available.size());
    const int right = owner.right() + 1 + Gap;
    const int left = owner.left() - Gap - fitted.width();
    int x = KeepInside(right, fitted.width(), available.left(), available.right());
    if (right + fitted.width() - 1 <= available.right())
        x = right;
    else if (left >= available.left())
        x = left;
    const int y = KeepInside(owner.top(), fitted.height(), available.top(), available.bottom());
    return QRect(QPoint(x, y), fitted);
}

QPoint CentreInside(const QSize& frame, const QRect& available)
{
    return QPoint(available.left() + (available.width() - frame.width()) / 2,
                  available.top() + (available.height() - frame.height()) / 2);
}
