#pragma once

#include "StatusPanels.h"

#include <QStatusBar>

#include <array>

class QLabel;

// The window's three-panel status bar, without a size grip. Panel texts and
// widths are set by the status line; widths are measured with this bar's own
// font. The panels stand side by side from the left edge, each as wide as it
// was set and as high as the bar: they are placed here, not by the bar's own
// layout, which would space them apart. A click anywhere on the bar is
// reported as Clicked.
class QtStatusBar : public QStatusBar, public StatusPanels {
    Q_OBJECT
public:
    static constexpr int PanelCount = 3;
    static constexpr int InitialPanelWidth = 50;

    QtStatusBar(QWidget* parent, const QString& name, const QRect& geometry);

    void SetText(int panel, const QString& text) override;
    void SetWidth(int panel, int width) override;
    int TextWidth(const QString& text) const override;

    QString PanelText(int panel) const;
    int PanelWidth(int panel) const;

signals:
    void Clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QLabel* Panel(int panel) const;
    void PlacePanels();

    std::array<QLabel*, PanelCount> panels_{};
};
