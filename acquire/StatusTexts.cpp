#include "StatusTexts.h"

void StatusTexts::SetText(int panel, const QString& text)
{
    if (panel >= 0 && panel < PanelCount)
        texts_[static_cast<std::size_t>(panel)] = text;
}

void StatusTexts::SetWidth(int, int) {}

int StatusTexts::TextWidth(const QString&) const
{
    return 0;
}

QString StatusTexts::Text(int panel) const
{
    return panel >= 0 && panel < PanelCount ? texts_[static_cast<std::size_t>(panel)] : QString();
}
