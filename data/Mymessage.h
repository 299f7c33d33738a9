#pragma once

#include "MessagePresenter.h"

#include <QCoreApplication>
#include <QString>

// The error boxes the operator must acknowledge. Every box carries the same
// caption and the error icon and has only an OK button; each call returns
// when the operator has closed its box.
class TmyMessage {
    Q_DECLARE_TR_FUNCTIONS(TmyMessage)

public:
    // caption is copied into a 20-byte buffer; a longer one is cut to 19
    // bytes (never in the middle of a UTF-8 character) rather than overrun it.
    TmyMessage(MessagePresenter& presenter, const QString& deviceName, const char* caption);

    void MsgMemoryError(const QString& word);
    void MsgNotFound();
    void MsgNoResponse();
    void MsgSaveError();
    void MsgFileError();
    void MsgNoData();

private:
    void Show(const QString& text);

    MessagePresenter& presenter_;
    QString DeviceName;
    char Caption[20] = {};
};
