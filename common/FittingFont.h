#pragma once

#include <QFont>
#include <QStringList>

#include <functional>

class QFontMetrics;

// Fonts chosen by measuring, for texts that must fit a fixed room: the axis
// captions beside the plot and the items of the lists.

// The first font in which widthOf is at most room, trying the base font and
// then the fixed-pitch face of the same Gothic family (half-width digits, as
// the window's font has on Windows), at the base's pixel size and then a
// pixel smaller at a time; the last one tried when none fits.
QFont FittingFont(const QFont& base, int room, const std::function<int(const QFontMetrics&)>& widthOf);

// Pixels that no code caption of the Y axis exceeds.
int WidestCodeCaption(const QFontMetrics& metrics);

// Pixels of the widest of the texts.
int WidestText(const QFontMetrics& metrics, const QStringList& texts);
