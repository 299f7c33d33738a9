#include "MyfileSaveFixture.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdint>
#include <limits>
#include <string>

namespace {

TEST_F(MyfileSave, WritesTwoColumnsByteForByteWithCrLf)
{
    settings.spsSel = 5;
    settings.CHSel = ModeDual;
    Fill(arrays.Ch0, {8388610, 8388605});
    Fill(arrays.Ch1, {8388597, 8388601});
    ASSERT_TRUE(file.SaveFile2CH(Path("run.DTA"), &settings, &arrays.Ch0, &arrays.Ch1));
    EXPECT_EQ(folder.Read("run.DTA"), WithCrLf("AD7175_DataFile:\nM:\nspsSel:5\nDataCountSel:0\nCHSel:2\nGainSel:0\n"
                                               "fSinc5:0\nfBUF_ON:0\nMEND:\nD:\n8388610,8388597\n8388605,8388601\n"
                                               "DEND:\n"));
    EXPECT_EQ(prompt.Asked, 0);
}

TEST_F(MyfileSave, WritesOneColumnWithFlagsAsZeroOrOne)
{
    settings = {16, 9, ModeCh1, 0, 1, 7, 255};
    Fill(arrays.Ch1, {-5, 0, 16777215});
    ASSERT_TRUE(file.SaveFile1CH(Path("one.DTA"), &settings, &arrays.Ch1));
    EXPECT_EQ(folder.Read("one.DTA"), WithCrLf("AD7175_DataFile:\nM:\nspsSel:16\nDataCountSel:9\nCHSel:1\nGainSel:0\n"
                                               "fSinc5:1\nfBUF_ON:1\nMEND:\nD:\n-5\n0\n16777215\nDEND:\n"));
}

TEST_F(MyfileSave, LoadsBackWhatItSaved)
{
    const auto extremes = {0, 16777215, -1, 8388608, std::numeric_limits<std::int32_t>::min(),
                           std::numeric_limits<std::int32_t>::max()};
    for (const std::int32_t mode : {ModeCh0, ModeCh1, ModeDual}) {
        settings = {3, 4, mode, 0, 1, 1, 0};
        Fill(arrays.Ch0, extremes);
        Fill(arrays.Ch1, {5, 6, 7, 8, 9, 10});
        const QString name = Path("trip.DTA");
        QFile::remove(name);
        const ChannelData& saved = mode == ModeCh1 ? arrays.Ch1 : arrays.Ch0;
        ASSERT_TRUE(mode == ModeDual ? file.SaveFile2CH(name, &settings, &arrays.Ch0, &arrays.Ch1)
                                     : file.SaveFile1CH(name, &settings, &saved));

        SampleArrays loaded;
        loaded.Ch0.Count = loaded.Ch1.Count = 99;
        MeasureSettings read{-1, -1, -1, -1, 42, 9, 9};
        ASSERT_TRUE(file.LoadFile(name, &read, &loaded.Ch0, &loaded.Ch1)) << mode;
        EXPECT_EQ(read.spsSel, 3);
        EXPECT_EQ(read.DataCountSel, 4);
        EXPECT_EQ(read.CHSel, mode);
        EXPECT_EQ(read.GainSel, 0);
        EXPECT_EQ(read.GainDivisor, 42) << "not stored, so left as it was";
        EXPECT_EQ(read.fSinc5, 1);
        EXPECT_EQ(read.fBUF_ON, 0);
        const auto codes = [](const ChannelData& c) { return std::vector<std::int32_t>(c.Codes, c.Codes + c.Count); };
        EXPECT_EQ(codes(mode == ModeCh1 ? loaded.Ch1 : loaded.Ch0), codes(saved));
        const ChannelData& other = mode == ModeCh1 ? loaded.Ch0 : loaded.Ch1;
        EXPECT_EQ(other.Count, mode == ModeDual ? 6 : 0);
        if (mode == ModeDual) {
            EXPECT_EQ(codes(loaded.Ch1), codes(arrays.Ch1));
        }
    }
}

TEST_F(MyfileSave, AsksBeforeOverwritingAndKeepsTheFileOnNo)
{
    folder.Write("old.DTA", "earlier content\n");
    Fill(arrays.Ch0, {1});
    prompt.Answer = false;
    EXPECT_TRUE(file.SaveFile1CH(Path("old.DTA"), &settings, &arrays.Ch0)) << "declining is no failure";
    EXPECT_EQ(prompt.Asked, 1);
    EXPECT_EQ(prompt.Caption, QStringLiteral("確認"));
    EXPECT_EQ(prompt.Text, QStringLiteral("ファイル：") + Path("old.DTA") + QStringLiteral("があります。\n上書きしますか"));
    EXPECT_EQ(folder.Read("old.DTA"), "earlier content\n");
    EXPECT_TRUE(file.OverwriteDeclined());

    prompt.Answer = true;
    EXPECT_TRUE(file.SaveFile1CH(Path("old.DTA"), &settings, &arrays.Ch0));
    EXPECT_FALSE(file.OverwriteDeclined());
    EXPECT_EQ(prompt.Asked, 2);
    EXPECT_EQ(folder.Read("old.DTA").substr(0, 18), "AD7175_DataFile:\r\n");
    EXPECT_EQ(folder.Entries(), QStringList{"old.DTA"}) << "no temporary file left behind";
}

TEST_F(MyfileSave, RefusesMissingOrInconsistentArguments)
{
    Fill(arrays.Ch0, {1, 2});
    Fill(arrays.Ch1, {1});
    EXPECT_FALSE(file.SaveFile1CH(QString(), &settings, &arrays.Ch0));
    EXPECT_FALSE(file.SaveFile1CH(Path("a.DTA"), nullptr, &arrays.Ch0));
    EXPECT_FALSE(file.SaveFile1CH(Path("a.DTA"), &settings, nullptr));
    EXPECT_FALSE(file.SaveFile2CH(Path("a.DTA"), &settings, &arrays.Ch0, nullptr));
    EXPECT_FALSE(file.SaveFile2CH(Path("a.DTA"), &settings, &arrays.Ch0, &arrays.Ch1)) << "counts differ";
    ChannelData tooLong = arrays.Ch0;
    tooLong.Count = SampleCapacity + 1;
    EXPECT_FALSE(file.SaveFile1CH(Path("a.DTA"), &settings, &tooLong));
    ChannelData noArray{3, nullptr, nullptr};
    EXPECT_FALSE(file.SaveFile1CH(Path("a.DTA"), &settings, &noArray));
    EXPECT_FALSE(file.SaveFile1CH(Path("no-such-folder/a.DTA"), &settings, &arrays.Ch0));
    EXPECT_TRUE(folder.Entries().isEmpty());
    EXPECT_EQ(prompt.Asked, 0);
}

} // namespace
