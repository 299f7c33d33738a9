#include "LabelMetrics.h"

#include <QRect>
#include <QStringList>

namespace {

constexpr int LabelPixelSize = 12;
// Wide and tall enough that no caption is wrapped or clipped.
constexpr int MeasureExtent = 2000;

QFont LabelFont()
{
    QFont font;
    font.setFamilies(QStringList{QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("IPAPGothic")});
    font.setPixelSize(LabelPixelSize);
    return font;
}

} // namespace

LabelMetrics::LabelMetrics()
    : font_(LabelFont())
    , metrics_(font_)
{
}

QSize LabelMetrics::CaptionSize(const QString& caption) const
{
    return metrics_
        .boundingRect(QRect(0, 0, MeasureExtent, MeasureExtent), Qt::AlignLeft | Qt::TextExpandTabs, caption)
        .size();
}
