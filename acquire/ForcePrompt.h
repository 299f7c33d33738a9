#pragma once

#include "ConfirmPrompt.h"

// The data file's overwrite question, answered by the command line: yes only
// with --force. It remembers a "no", because the file class reports a
// declined overwrite as success and the program must not.
class ForcePrompt : public ConfirmPrompt {
public:
    explicit ForcePrompt(bool force);

    bool AskYesNo(const QString& caption, const QString& text) override;
    bool Declined() const { return declined_; }

private:
    bool force_;
    bool declined_ = false;
};
