#include "OverwriteQuestion.h"

#include "ConfirmPrompt.h"

#include <QFileInfo>

bool MayOverwrite(ConfirmPrompt& prompt, const QString& fileName)
{
    if (!QFileInfo::exists(fileName))
        return true;
    return prompt.AskYesNo(QStringLiteral("確認"),
                           QStringLiteral("ファイル：") + fileName + QStringLiteral("があります。\n上書きしますか"));
}
