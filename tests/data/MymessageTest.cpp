#include "Mymessage.h"

#include <gtest/gtest.h>

#include <QStringList>

#include <functional>

namespace {

class RecordingPresenter : public MessagePresenter {
public:
    void ShowError(const QString& caption, const QString& text) override
    {
        Captions << caption;
        Texts << text;
    }

    QStringList Captions;
    QStringList Texts;
};

struct Box {
    std::function<void(TmyMessage&)> show;
    QString text;
};

TEST(Mymessage, ShowsEachTextOnceUnderTheBoardCaption)
{
    const Box boxes[] = {
        {[](TmyMessage& m) { m.MsgMemoryError("TGraph_2CH"); }, QStringLiteral("致命的なメモリエラーです:TGraph_2CH")},
        {[](TmyMessage& m) { m.MsgNotFound(); }, QStringLiteral("KORVADEX が見つかりませんでした")},
        {[](TmyMessage& m) { m.MsgNoResponse(); }, QStringLiteral("KORVADEX が応答しませんでした")},
        {[](TmyMessage& m) { m.MsgSaveError(); }, QStringLiteral("データ保存できませんでした")},
        {[](TmyMessage& m) { m.MsgFileError(); }, QStringLiteral("データファイルの内容が正しくありませんでした")},
        {[](TmyMessage& m) { m.MsgNoData(); }, QStringLiteral("データがありません")},
    };
    for (const auto& box : boxes) {
        RecordingPresenter presenter;
        TmyMessage message(presenter, "KORVADEX", "KORVADEX Board");
        box.show(message);
        EXPECT_EQ(presenter.Texts, QStringList{box.text});
        EXPECT_EQ(presenter.Captions, QStringList{"KORVADEX Board"});
    }
}

TEST(Mymessage, CutsALongCaptionToNineteenBytes)
{
    RecordingPresenter presenter;
    TmyMessage(presenter, "X", "KORVADEX Board with a far too long caption").MsgNoData();
    TmyMessage(presenter, "X", "1234567890123456789").MsgNoData();
    TmyMessage(presenter, "X", nullptr).MsgNoData();
    // Eleven bytes and three 3-byte characters: the last one would be cut.
    TmyMessage(presenter, "X", "KORVADEX Boボード").MsgNoData();
    EXPECT_EQ(presenter.Captions,
              (QStringList{"KORVADEX Board with", "1234567890123456789", "", QStringLiteral("KORVADEX Boボー")}));
}

} // namespace
