#include "ComponentFactory.h"

#include "Ad7175.h"
#include "Graph_2ch.h"
#include "Myfile.h"
#include "Mymessage.h"
#include "Mystatus.h"

std::unique_ptr<TmyMessage> ComponentFactory::MakeMessage(MessagePresenter& presenter, const QString& deviceName,
                                                          const char* caption)
{
    return std::make_unique<TmyMessage>(presenter, deviceName, caption);
}

std::unique_ptr<TmyStatus> ComponentFactory::MakeStatus(StatusPanels& bar, const QString& deviceName,
                                                        std::int32_t highestPanel)
{
    return std::make_unique<TmyStatus>(bar, deviceName, highestPanel);
}

std::unique_ptr<TADC> ComponentFactory::MakeADC(QObject* owner, D2xx& driver)
{
    return std::make_unique<TADC>(owner, driver);
}

std::unique_ptr<TmyFile> ComponentFactory::MakeFile(ConfirmPrompt& prompt)
{
    return std::make_unique<TmyFile>(prompt);
}

std::unique_ptr<TGraph_2CH> ComponentFactory::MakeGraph(PaintBox* box, ChannelData* ch0, ChannelData* ch1,
                                                        MeasureSettings* settings, AxisLabel* const* yLabels,
                                                        AxisLabel* const* xLabels)
{
    return std::make_unique<TGraph_2CH>(box, ch0, ch1, settings, yLabels, xLabels);
}
