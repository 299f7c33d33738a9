#pragma once

#include "MessagePresenter.h"

// The window's error boxes as lines on standard error: the text only, since
// every box carries the same caption, after the subject it concerns when one
// is set ("run1.DTA: データファイルの内容が正しくありませんでした").
class ConsoleMessages : public MessagePresenter {
public:
    void ShowError(const QString& caption, const QString& text) override;
    void SetSubject(const QString& subject) { subject_ = subject; }

private:
    QString subject_;
};
