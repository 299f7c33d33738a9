#include "Mymessage.h"

#include <cstring>

namespace {

bool IsUtf8Continuation(char c)
{
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

} // namespace

TmyMessage::TmyMessage(MessagePresenter& presenter, const QString& deviceName, const char* caption)
    : presenter_(presenter)
    , DeviceName(deviceName)
{
    if (!caption)
        return;
    std::size_t length = strnlen(caption, sizeof Caption - 1);
    if (caption[length] != '\0') {
        while (length > 0 && IsUtf8Continuation(caption[length]))
            --length;
    }
    std::memcpy(Caption, caption, length);
    Caption[length] = '\0';
}

void TmyMessage::MsgMemoryError(const QString& word)
{
    Show(tr("致命的なメモリエラーです:%1").arg(word));
}

void TmyMessage::MsgNotFound()
{
    Show(tr("%1 が見つかりませんでした").arg(DeviceName));
}

void TmyMessage::MsgNoResponse()
{
    Show(tr("%1 が応答しませんでした").arg(DeviceName));
}

void TmyMessage::MsgSaveError()
{
    Show(tr("データ保存できませんでした"));
}

void TmyMessage::MsgFileError()
{
    Show(tr("データファイルの内容が正しくありませんでした"));
}

void TmyMessage::MsgNoData()
{
    Show(tr("データがありません"));
}

void TmyMessage::Show(const QString& text)
{
    presenter_.ShowError(QString::fromUtf8(Caption), text);
}
