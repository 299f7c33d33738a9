#include "WindowRecording.h"

#include "ConfirmPrompt.h"
#include "MessagePresenter.h"
#include "OverwriteQuestion.h"
#include "RecordAsker.h"

namespace {

// Long enough for the companion to end its last run and close the file.
constexpr int EndWaitMs = 15000;

} // namespace

WindowRecording::WindowRecording(RecordAsker& asker, ConfirmPrompt& confirm, MessagePresenter& messages, QObject* parent)
    : QObject(parent)
    , asker_(asker)
    , confirm_(confirm)
    , messages_(messages)
{
    connect(&recorder_, &Recorder::Ended, this, &WindowRecording::Finish);
}

RecordRequest WindowRecording::Proposal(const RecordRequest& fallback) const
{
    if (!started_)
        return fallback;
    RecordRequest proposal = recorder_.Request();
    proposal.BoardSerial = fallback.BoardSerial;
    return proposal;
}

bool WindowRecording::Start(const RecordRequest& proposal)
{
    if (Recording())
        return false;
    std::optional<RecordRequest> request = asker_.AskRecord(proposal);
    if (!request || request->Path.isEmpty() || !MayOverwrite(confirm_, request->Path))
        return false;
    // The board was chosen before the dialog, which does not change it.
    request->BoardSerial = proposal.BoardSerial;
    QString error;
    if (!recorder_.Start(*request, error)) {
        messages_.ShowError(tr("記録"), error);
        return false;
    }
    started_ = true;
    emit Started(request->Path);
    return true;
}

void WindowRecording::Stop()
{
    recorder_.Stop();
}

bool WindowRecording::MayClose()
{
    if (!Recording())
        return true;
    if (!confirm_.AskYesNo(tr("記録"), tr("記録中です。記録を止めて終了しますか？")))
        return false;
    recorder_.Stop();
    return recorder_.WaitForEnd(EndWaitMs);
}

void WindowRecording::Finish(bool done, const QString& said)
{
    emit Ended(said);
    if (!done)
        messages_.ShowError(tr("記録"), said);
}
