#pragma once

#include "RecordRequest.h"
#include "Recorder.h"

#include <QObject>
#include <QString>

class ConfirmPrompt;
class MessagePresenter;
class RecordAsker;

// The main window's recording: asks what to record (the record dialog),
// whether an existing file may be replaced, runs the recording, and tells
// the window when it starts and ends; a recording that fails is named in an
// error box with the companion's reason.
class WindowRecording : public QObject {
    Q_OBJECT
public:
    WindowRecording(RecordAsker& asker, ConfirmPrompt& confirm, MessagePresenter& messages, QObject* parent = nullptr);

    // The request last started, or `fallback` before any; the board serial
    // is always the fallback's.
    RecordRequest Proposal(const RecordRequest& fallback) const;
    // Asks, then starts; false when the operator cancels or the companion
    // cannot be started (said in a box).
    bool Start(const RecordRequest& proposal);
    void Stop();
    bool Recording() const { return recorder_.Recording(); }
    // True when the program may close: no recording, or the operator agreed
    // to stop it and it has ended.
    bool MayClose();

signals:
    void Started(const QString& path);
    void Ended(const QString& said);

private:
    void Finish(bool done, const QString& said);

    RecordAsker& asker_;
    ConfirmPrompt& confirm_;
    MessagePresenter& messages_;
    Recorder recorder_;
    bool started_ = false;
};
