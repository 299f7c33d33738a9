#include "LabelMetrics.h"

#include "FittingFont.h"
#include "Graph_2ch.h"

#include <QRect>
#include <QStringList>

namespace {

constexpr int LabelPixelSize = 12;
// Wide and tall enough that no caption is wrapped or clipped.
constexpr int MeasureExtent = 2000;

// The window's font, narrowed as the window narrows it until every code
// caption ends before the plot.
QFont LabelFont()
{
    QFont font;
    font.setFamilies(QStringList{QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("IPAPGothic")});
    font.setPixelSize(LabelPixelSize);
    return FittingFont(font, TGraph_2CH::CodeCaptionRoom, WidestCodeCaption);
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
