#pragma once

#include <QString>

class ConfirmPrompt;

// Whether a file may be written: yes when it does not exist yet, else the
// operator's answer to "ファイル：… があります。上書きしますか". Every file
// the window writes asks the same question.
bool MayOverwrite(ConfirmPrompt& prompt, const QString& fileName);
