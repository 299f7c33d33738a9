#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

// Where the program puts its windows: always inside the available area of the
// screen (the desktop less its panels and task bars), whose coordinates the
// rectangles share. Sizes and rectangles are outer frames.

// The frame of a window of the given size beside the owner's frame: to its
// right, else to its left, with a small gap; where neither side has room it
// overlaps the owner, pushed in from the area's right edge. Level with the
// owner's top where the area allows. A window larger than the area is cut to it.
QRect PlaceBeside(const QRect& owner, const QSize& size, const QRect& available);

// The top-left corner that centres a frame in the area, with truncating
// divisions: a frame larger than the area starts before its edge.
QPoint CentreInside(const QSize& frame, const QRect& available);
