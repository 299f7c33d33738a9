#include "TestDoubles.h"

#include "Ad7175.h"
#include "Graph_2ch.h"
#include "ManualClock.h"
#include "Myfile.h"
#include "Mymessage.h"
#include "Mystatus.h"
#include "UsbBridge.h"

#include <new>

void RecordingPresenter::ShowError(const QString& caption, const QString& text)
{
    Boxes.push_back({caption, text});
}

bool ScriptedConfirm::AskYesNo(const QString& caption, const QString& text)
{
    Questions.push_back({caption, text});
    return Answer;
}

QString ScriptedFiles::ChooseSavePath(const QString& filter, const QString& initialName)
{
    return Next(true, filter, initialName);
}

QString ScriptedFiles::ChooseOpenPath(const QString& filter, const QString& initialName)
{
    return Next(false, filter, initialName);
}

QString ScriptedFiles::Next(bool save, const QString& filter, const QString& initialName)
{
    Dialogs.push_back({save, filter, initialName});
    return Paths.isEmpty() ? QString() : Paths.takeFirst();
}

QString ScriptedBoards::ChooseBoard(const std::vector<FtdiDevice>& devices, const QString&)
{
    QStringList serials;
    for (const FtdiDevice& device : devices)
        serials << device.Serial;
    Offered.push_back(serials);
    return Answers.isEmpty() ? QString() : Answers.takeFirst();
}

RecordingD2xx::RecordingD2xx(D2xx& inner, ManualClock* replyClock)
    : inner_(inner)
    , replyClock_(replyClock)
{
}

FT_STATUS RecordingD2xx::FT_Open(int deviceNumber, FT_HANDLE* handle)
{
    ++Calls;
    ++Opens;
    return inner_.FT_Open(deviceNumber, handle);
}

FT_STATUS RecordingD2xx::FT_Close(FT_HANDLE handle)
{
    ++Calls;
    return inner_.FT_Close(handle);
}

FT_STATUS RecordingD2xx::FT_Read(FT_HANDLE handle, LPVOID buffer, DWORD bytesToRead, LPDWORD bytesReturned)
{
    ++Calls;
    ReadSizes.push_back(bytesToRead);
    return inner_.FT_Read(handle, buffer, bytesToRead, bytesReturned);
}

FT_STATUS RecordingD2xx::FT_Write(FT_HANDLE handle, LPVOID buffer, DWORD bytesToWrite, LPDWORD bytesWritten)
{
    ++Calls;
    const FT_STATUS status = inner_.FT_Write(handle, buffer, bytesToWrite, bytesWritten);
    Record(static_cast<const char*>(buffer), bytesToWrite);
    return status;
}

// The run commands ("A" and five digits, "AX") are the ones without a reply.
void RecordingD2xx::Record(const char* bytes, DWORD count)
{
    for (DWORD i = 0; i < count; ++i) {
        if (bytes[i] != '\r') {
            pending_ += bytes[i];
            continue;
        }
        if (replyClock_ && !pending_.empty() && pending_.front() != 'A')
            replyClock_->Advance(UsbBridge::DefaultLatencyTimer);
        Commands.push_back(pending_);
        pending_.clear();
    }
}

FT_STATUS RecordingD2xx::FT_Purge(FT_HANDLE handle, ULONG mask)
{
    ++Calls;
    return inner_.FT_Purge(handle, mask);
}

FT_STATUS RecordingD2xx::FT_GetQueueStatus(FT_HANDLE handle, DWORD* rxBytes)
{
    ++Calls;
    if (FailQueueStatus)
        return FT_IO_ERROR;
    return inner_.FT_GetQueueStatus(handle, rxBytes);
}

FT_STATUS RecordingD2xx::FT_SetUSBParameters(FT_HANDLE handle, ULONG inTransferSize, ULONG outTransferSize)
{
    ++Calls;
    return inner_.FT_SetUSBParameters(handle, inTransferSize, outTransferSize);
}

D2xxDiscovery* RecordingD2xx::Discovery()
{
    return inner_.Discovery();
}

FailingFactory::FailingFactory(QString failOn)
    : failOn_(std::move(failOn))
{
}

void FailingFactory::Ask(const QString& component)
{
    Asked << component;
    if (component == failOn_)
        throw std::bad_alloc();
}

std::unique_ptr<TmyMessage> FailingFactory::MakeMessage(MessagePresenter& presenter, const QString& deviceName,
                                                        const char* caption)
{
    Ask(QStringLiteral("myMessage"));
    return ComponentFactory::MakeMessage(presenter, deviceName, caption);
}

std::unique_ptr<TmyStatus> FailingFactory::MakeStatus(StatusPanels& bar, const QString& deviceName,
                                                      std::int32_t highestPanel)
{
    Ask(QStringLiteral("myStatus"));
    return ComponentFactory::MakeStatus(bar, deviceName, highestPanel);
}

std::unique_ptr<TADC> FailingFactory::MakeADC(QObject* owner, D2xx& driver)
{
    Ask(QStringLiteral("AD7175"));
    return ComponentFactory::MakeADC(owner, driver);
}

std::unique_ptr<TmyFile> FailingFactory::MakeFile(ConfirmPrompt& prompt)
{
    Ask(QStringLiteral("FILE"));
    return ComponentFactory::MakeFile(prompt);
}

std::unique_ptr<TGraph_2CH> FailingFactory::MakeGraph(PaintBox* box, ChannelData* ch0, ChannelData* ch1,
                                                      MeasureSettings* settings, AxisLabel* const* yLabels,
                                                      AxisLabel* const* xLabels)
{
    Ask(QStringLiteral("TGraph_2CH"));
    return ComponentFactory::MakeGraph(box, ch0, ch1, settings, yLabels, xLabels);
}
