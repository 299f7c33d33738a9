#pragma once

#include <QFont>
#include <QFontMetrics>
#include <QSize>
#include <QString>

// The window's axis-label font ("ＭＳ Ｐゴシック" 12 px, IPAPGothic where the
// Windows font is missing, narrowed as the window narrows it so that code
// captions fit beside the plot), and the size a label of that font takes when
// it fits itself to a caption. The graph places its labels by that size, so
// the captions stand where the window would put them. Needs a
// QGuiApplication (fonts).
class LabelMetrics {
public:
    LabelMetrics();

    const QFont& Font() const { return font_; }
    // What a plain label fitted to its text measures: the text's bounding
    // box for left, top-aligned single-line text.
    QSize CaptionSize(const QString& caption) const;

private:
    QFont font_;
    QFontMetrics metrics_;
};
