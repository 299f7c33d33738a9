#pragma once

#include <QString>
#include <QStringList>

#include <memory>

class QCoreApplication;
class QTranslator;

// The language the window and the companion's messages speak. Japanese is
// the source language of every text; English comes from a translation built
// into the programs.
enum class UiLanguage { Japanese, English };

// KORVADEX_LANG ("ja" or "en", in either case) decides when it says one of them. Otherwise
// Japanese for a first UI language of Japanese and for the C/POSIX locale
// (an unset environment, as on a build machine), English for any other.
UiLanguage ChooseUiLanguage(const QStringList& uiLanguages, const QString& choice);

// The choice for this process, from the system's UI languages and the
// environment.
UiLanguage SystemUiLanguage();

// The translation context of the status line's statistics texts. The
// companion prints them as data lines, which never change with the language.
extern const char* const StatisticsTextContext;

// The English catalogue built into the program, leaving the texts of the
// kept contexts in Japanese; null when it cannot be read.
std::unique_ptr<QTranslator> LoadEnglishCatalogue(const QStringList& keptContexts = {});

// Puts the English translation in front of the source texts when the
// language is English; Japanese needs nothing. False when the translation
// built into the program cannot be read (the texts then stay Japanese).
bool InstallTranslation(QCoreApplication& application, UiLanguage language, const QStringList& keptContexts = {});
