#include "KeptNotices.h"

void KeptNotices::ShowError(const QString&, const QString& text)
{
    latestBox_ = subject_.isEmpty() ? text : subject_ + QStringLiteral(": ") + text;
}

void KeptNotices::Tell(const QString& line)
{
    remarks_.append(line);
}
