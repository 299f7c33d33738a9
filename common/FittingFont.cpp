#include "FittingFont.h"

#include <QFontMetrics>

#include <algorithm>

namespace {

// Codes run from 0 to 16777215, so the code axis reaches from -5000000 to
// 26000000 at most: never more than eight characters.
constexpr int LongestCodeCaption = 8;
constexpr int SmallestPixelSize = 8;

} // namespace

QFont FittingFont(const QFont& base, int room, const std::function<int(const QFontMetrics&)>& widthOf)
{
    const QStringList fixedPitch = {QStringLiteral("ＭＳ ゴシック"), QStringLiteral("IPAGothic")};
    QFont font = base;
    for (int size = base.pixelSize(); size >= SmallestPixelSize; --size) {
        for (const QStringList& families : {base.families(), fixedPitch}) {
            font.setFamilies(families);
            font.setPixelSize(size);
            if (widthOf(QFontMetrics(font)) <= room)
                return font;
        }
    }
    return font;
}

int WidestCodeCaption(const QFontMetrics& metrics)
{
    int widest = 0;
    for (const QChar c : QStringLiteral("-0123456789"))
        widest = std::max(widest, metrics.horizontalAdvance(c));
    return widest * LongestCodeCaption;
}

int WidestText(const QFontMetrics& metrics, const QStringList& texts)
{
    int widest = 0;
    for (const QString& text : texts)
        widest = std::max(widest, metrics.horizontalAdvance(text));
    return widest;
}
