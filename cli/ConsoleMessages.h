#pragma once

#include "RunNotices.h"

// The window's error boxes as lines on standard error: the text only, since
// every box carries the same caption, after the subject it concerns when one
// is set ("run1.DTA: データファイルの内容が正しくありませんでした"). Status
// texts and remarks are lines of their own.
class ConsoleMessages : public RunNotices {
public:
    void ShowError(const QString& caption, const QString& text) override;
    void Tell(const QString& line) override;
    void SetSubject(const QString& subject) override { subject_ = subject; }

private:
    QString subject_;
};
