#pragma once

#include "StatusPanels.h"

#include <QString>

#include <array>

// The status bar without a window: it keeps the three panels' texts, so the
// program prints exactly what the window would show. Widths are not needed
// here and every text measures 0.
class StatusTexts : public StatusPanels {
public:
    static constexpr int PanelCount = 3;

    void SetText(int panel, const QString& text) override;
    void SetWidth(int panel, int width) override;
    int TextWidth(const QString& text) const override;

    QString Text(int panel) const;

private:
    std::array<QString, PanelCount> texts_;
};
