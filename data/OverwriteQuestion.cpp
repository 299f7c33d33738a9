#include "OverwriteQuestion.h"

#include "ConfirmPrompt.h"

#include <QCoreApplication>
#include <QFileInfo>

bool MayOverwrite(ConfirmPrompt& prompt, const QString& fileName)
{
    if (!QFileInfo::exists(fileName))
        return true;
    return prompt.AskYesNo(QCoreApplication::translate("OverwriteQuestion", "確認"),
                           QCoreApplication::translate("OverwriteQuestion", "ファイル：%1があります。\n上書きしますか")
                               .arg(fileName));
}
