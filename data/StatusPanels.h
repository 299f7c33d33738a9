#pragma once

#include <QString>

// The three-panel status bar as the status line sees it. The window implements
// it on its status bar widget, measuring with the bar's own font; the tests
// with a plain object.
class StatusPanels {
public:
    virtual ~StatusPanels() = default;

    virtual void SetText(int panel, const QString& text) = 0;
    virtual void SetWidth(int panel, int width) = 0;
    virtual int TextWidth(const QString& text) const = 0;
};
