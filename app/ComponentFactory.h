#pragma once

#include <QString>

#include <cstdint>
#include <memory>

class AxisLabel;
class ConfirmPrompt;
class D2xx;
class MessagePresenter;
class PaintBox;
class QObject;
class StatusPanels;
class TADC;
class TGraph_2CH;
class TmyFile;
class TmyMessage;
class TmyStatus;
struct ChannelData;
struct MeasureSettings;

// Makes the five components the main window owns. The window asks for them
// in its construction and turns a failure (std::bad_alloc, in practice memory
// exhaustion) into the fatal-memory box; the tests derive from it to make any
// one of the creations fail.
class ComponentFactory {
public:
    virtual ~ComponentFactory() = default;

    virtual std::unique_ptr<TmyMessage> MakeMessage(MessagePresenter& presenter, const QString& deviceName,
                                                    const char* caption);
    virtual std::unique_ptr<TmyStatus> MakeStatus(StatusPanels& bar, const QString& deviceName,
                                                  std::int32_t highestPanel);
    virtual std::unique_ptr<TADC> MakeADC(QObject* owner, D2xx& driver);
    virtual std::unique_ptr<TmyFile> MakeFile(ConfirmPrompt& prompt);
    virtual std::unique_ptr<TGraph_2CH> MakeGraph(PaintBox* box, ChannelData* ch0, ChannelData* ch1,
                                                  MeasureSettings* settings, AxisLabel* const* yLabels,
                                                  AxisLabel* const* xLabels);
};
