#pragma once

#include "BoardChooser.h"
#include "ComponentFactory.h"
#include "ConfirmPrompt.h"
#include "D2xx.h"
#include "FileChooser.h"
#include "MessagePresenter.h"

#include <QString>
#include <QStringList>

#include <string>
#include <vector>

class ManualClock;

// Stand-ins for everything the window would show a person or reach outside
// the process; none of them waits.

struct ShownBox {
    QString Caption;
    QString Text;
};

// Records every error box instead of showing it.
class RecordingPresenter : public MessagePresenter {
public:
    void ShowError(const QString& caption, const QString& text) override;

    std::vector<ShownBox> Boxes;
};

// Returns the next scripted serial (empty = cancelled) and records the
// serial numbers each chooser offered.
class ScriptedBoards : public BoardChooser {
public:
    QString ChooseBoard(const std::vector<FtdiDevice>& devices, const QString& current) override;

    QStringList Answers;
    std::vector<QStringList> Offered;
};

// Answers every overwrite question with Answer and records it.
class ScriptedConfirm : public ConfirmPrompt {
public:
    bool AskYesNo(const QString& caption, const QString& text) override;

    bool Answer = true;
    std::vector<ShownBox> Questions;
};

// Returns the next scripted path (empty = cancelled) and records each dialog.
class ScriptedFiles : public FileChooser {
public:
    struct Dialog {
        bool Save;
        QString Filter;
        QString InitialName;
    };

    QString ChooseSavePath(const QString& filter, const QString& initialName) override;
    QString ChooseOpenPath(const QString& filter, const QString& initialName) override;

    QStringList Paths;
    std::vector<Dialog> Dialogs;

private:
    QString Next(bool save, const QString& filter, const QString& initialName);
};

// Passes every call to the driver behind it and keeps what was written, each
// command as one text ("?", "U?", "F5", "A0003E8"), and how often each call ran.
// Given the board's clock, it moves that clock past the bridge's latency timer
// after each command the board answers, so the reply is there at the link's
// next reading: the link waits for it in real time, and a busy machine must not
// make a test miss a reply that the board's clock holds back.
class RecordingD2xx : public D2xx {
public:
    explicit RecordingD2xx(D2xx& inner, ManualClock* replyClock = nullptr);

    FT_STATUS FT_Open(int deviceNumber, FT_HANDLE* handle) override;
    FT_STATUS FT_Close(FT_HANDLE handle) override;
    FT_STATUS FT_Read(FT_HANDLE handle, LPVOID buffer, DWORD bytesToRead, LPDWORD bytesReturned) override;
    FT_STATUS FT_Write(FT_HANDLE handle, LPVOID buffer, DWORD bytesToWrite, LPDWORD bytesWritten) override;
    FT_STATUS FT_Purge(FT_HANDLE handle, ULONG mask) override;
    FT_STATUS FT_GetQueueStatus(FT_HANDLE handle, DWORD* rxBytes) override;
    FT_STATUS FT_SetUSBParameters(FT_HANDLE handle, ULONG inTransferSize, ULONG outTransferSize) override;
    D2xxDiscovery* Discovery() override;

    // While set, FT_GetQueueStatus fails as a broken link would.
    bool FailQueueStatus = false;

    int Calls = 0; // of any kind
    int Opens = 0;
    std::vector<std::string> Commands;
    std::vector<DWORD> ReadSizes; // bytes asked for by each FT_Read

private:
    void Record(const char* bytes, DWORD count);

    D2xx& inner_;
    ManualClock* replyClock_;
    std::string pending_;
};

// Makes the components like the program does, except that the one named
// in FailOn ("myMessage", "myStatus", "AD7175", "FILE", "TGraph_2CH") fails
// as memory exhaustion would. Records what it was asked to make.
class FailingFactory : public ComponentFactory {
public:
    explicit FailingFactory(QString failOn);

    std::unique_ptr<TmyMessage> MakeMessage(MessagePresenter& presenter, const QString& deviceName,
                                            const char* caption) override;
    std::unique_ptr<TmyStatus> MakeStatus(StatusPanels& bar, const QString& deviceName,
                                          std::int32_t highestPanel) override;
    std::unique_ptr<TADC> MakeADC(QObject* owner, D2xx& driver) override;
    std::unique_ptr<TmyFile> MakeFile(ConfirmPrompt& prompt) override;
    std::unique_ptr<TGraph_2CH> MakeGraph(PaintBox* box, ChannelData* ch0, ChannelData* ch1, MeasureSettings* settings,
                                          AxisLabel* const* yLabels, AxisLabel* const* xLabels) override;

    QStringList Asked;

private:
    void Ask(const QString& component);

    QString failOn_;
};
