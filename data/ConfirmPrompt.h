#pragma once

#include <QString>

// Asks a yes/no question (question icon, buttons "はい(&Y)" and "いいえ(&N)")
// and returns true only for yes. The window supplies the Qt one; the tests a
// scripted answer.
class ConfirmPrompt {
public:
    virtual ~ConfirmPrompt() = default;
    virtual bool AskYesNo(const QString& caption, const QString& text) = 0;
};
