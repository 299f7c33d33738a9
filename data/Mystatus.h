#pragma once

#include "StatusPanels.h"

#include <QCoreApplication>
#include <QString>

#include <cstdint>

// Composes and places every text of the status bar's three panels:
// 0 = board connection, 1 = run and data-file state, 2 = live readout,
// statistics, start message and run error.
class TmyStatus {
    Q_DECLARE_TR_FUNCTIONS(TmyStatus)

public:
    TmyStatus(StatusPanels& bar, const QString& deviceName, std::int32_t highestPanel);

    // Sets the panel's text and fits its width to it, never below 105 pixels.
    // An index outside 0 .. highest panel changes nothing.
    void SetPanelText(const QString& text, std::int32_t index);

    void ShowBoard(const QString& boardName, const QString& boardVersion);
    void ShowNotFound();
    void ShowNoResponse();
    void ShowBoardError();

    void ShowMeasuring();
    void ShowMeasureEnd();
    void ShowMeasureStop();
    void ShowFileLoaded();
    void ShowFileSaved();

    void ShowStarting();
    void ShowMeasureError();
    void ClearInfo();
    void ShowPoint1CH(std::int32_t sample, std::int32_t code);
    void ShowPoint2CH(std::int32_t sample, std::int32_t code0, std::int32_t code1);
    void ShowStatDigit(std::int32_t maximum, std::int32_t minimum, std::int32_t channel, float deviation);
    void ShowStatVolt(std::int32_t channel, float deviation, float minimum, float maximum);

private:
    StatusPanels& bar_;
    QString DeviceName;
    std::int32_t highestPanel_;
};
