#include "UiLanguage.h"

#include <QCoreApplication>
#include <QLocale>
#include <QTranslator>

namespace {

// Built from translations/korvadex_en.ts into the programs' resources.
const char* const EnglishCatalogue = ":/i18n/korvadex_en.qm";

bool IsJapanese(const QString& language)
{
    return language == QLatin1String("ja") || language.startsWith(QLatin1String("ja-"))
           || language.startsWith(QLatin1String("ja_"));
}

bool IsPlainCLocale(const QString& language)
{
    return language == QLatin1String("C") || language == QLatin1String("POSIX");
}

// A catalogue that has no translation for the kept contexts, so Qt falls
// back to their source texts.
class Catalogue : public QTranslator {
public:
    explicit Catalogue(const QStringList& keptContexts)
        : kept_(keptContexts)
    {
    }

    QString translate(const char* context, const char* sourceText, const char* disambiguation,
                      int n) const override
    {
        if (kept_.contains(QLatin1String(context)))
            return {};
        return QTranslator::translate(context, sourceText, disambiguation, n);
    }

private:
    QStringList kept_;
};

} // namespace

UiLanguage ChooseUiLanguage(const QStringList& uiLanguages, const QString& choice)
{
    if (choice.compare(QLatin1String("ja"), Qt::CaseInsensitive) == 0)
        return UiLanguage::Japanese;
    if (choice.compare(QLatin1String("en"), Qt::CaseInsensitive) == 0)
        return UiLanguage::English;
    if (uiLanguages.isEmpty())
        return UiLanguage::Japanese;
    const QString& first = uiLanguages.front();
    return IsJapanese(first) || IsPlainCLocale(first) ? UiLanguage::Japanese : UiLanguage::English;
}

UiLanguage SystemUiLanguage()
{
    return ChooseUiLanguage(QLocale::system().uiLanguages(), qEnvironmentVariable("KORVADEX_LANG"));
}

const char* const StatisticsTextContext = "StatisticsText";

std::unique_ptr<QTranslator> LoadEnglishCatalogue(const QStringList& keptContexts)
{
    auto translator = std::make_unique<Catalogue>(keptContexts);
    if (!translator->load(QString::fromLatin1(EnglishCatalogue)))
        return nullptr;
    return translator;
}

bool InstallTranslation(QCoreApplication& application, UiLanguage language, const QStringList& keptContexts)
{
    if (language == UiLanguage::Japanese)
        return true;
    std::unique_ptr<QTranslator> translator = LoadEnglishCatalogue(keptContexts);
    if (!translator || !QCoreApplication::installTranslator(translator.get()))
        return false;
    // Owned by the application, so that it lives as long as the texts it gives.
    translator.release()->setParent(&application);
    return true;
}
