#include "UiLanguage.h"

#include <gtest/gtest.h>

namespace {

struct LanguageCase {
    const char* Name;
    QStringList UiLanguages;
    const char* Choice;
    UiLanguage Expected;
};

class UiLanguageChoice : public testing::TestWithParam<LanguageCase> {};

TEST_P(UiLanguageChoice, FollowsTheFirstUiLanguageUnlessTheEnvironmentChooses)
{
    const LanguageCase& c = GetParam();
    EXPECT_EQ(ChooseUiLanguage(c.UiLanguages, QString::fromLatin1(c.Choice)), c.Expected);
}

const QStringList Japan{"ja-JP", "ja-Jpan-JP", "ja"};
const QStringList PlainC{"C"};
const QStringList Us{"en-US", "en-Latn-US", "en"};
const QStringList Germany{"de-DE", "de-Latn-DE", "de"};

INSTANTIATE_TEST_SUITE_P(
    Locales, UiLanguageChoice,
    testing::Values(LanguageCase{"Japanese", Japan, "", UiLanguage::Japanese},
                    LanguageCase{"PlainC", PlainC, "", UiLanguage::Japanese},
                    LanguageCase{"Posix", {"POSIX"}, "", UiLanguage::Japanese},
                    LanguageCase{"NoLanguageAtAll", {}, "", UiLanguage::Japanese},
                    LanguageCase{"English", Us, "", UiLanguage::English},
                    LanguageCase{"German", Germany, "", UiLanguage::English},
                    // Only the first language counts: a German desktop that
                    // also lists Japanese gets English.
                    LanguageCase{"GermanThenJapanese", {"de-DE", "ja-JP"}, "", UiLanguage::English},
                    LanguageCase{"JavaneseIsNotJapanese", {"jv-ID"}, "", UiLanguage::English},
                    LanguageCase{"ChosenJapaneseOnGerman", Germany, "ja", UiLanguage::Japanese},
                    LanguageCase{"ChosenEnglishOnJapanese", Japan, "en", UiLanguage::English},
                    LanguageCase{"ChosenEnglishOnC", PlainC, "en", UiLanguage::English},
                    LanguageCase{"UnknownChoiceIgnored", Germany, "fr", UiLanguage::English},
                    LanguageCase{"UnknownChoiceOnC", PlainC, "fr", UiLanguage::Japanese},
                    LanguageCase{"ChoiceInCapitals", PlainC, "EN", UiLanguage::English}),
    [](const testing::TestParamInfo<LanguageCase>& info) { return std::string(info.param.Name); });

} // namespace
