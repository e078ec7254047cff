#pragma once
// The language of the interface: the user's stored choice ("Interface"/"Language" in the
// editor's settings), the "--lang" word that overrides it for one run, and the loading of
// the program's English catalogue and of Qt's own. Japanese texts are the source texts, so
// Japanese needs no catalogue of the program's.
//
// Thread: the thread of the application object, before any window is shown.

#include <QLocale>
#include <QSettings>
#include <QString>
#include <QStringList>

#include <optional>

enum class LanguageChoice { Auto, Japanese, English };

// "auto", "ja" or "en" as stored; anything else reads as Auto.
LanguageChoice LanguageChoiceFromText(const QString& text);
QString LanguageChoiceText(LanguageChoice choice);

LanguageChoice LoadLanguageChoice(QSettings& settings);
void SaveLanguageChoice(QSettings& settings, LanguageChoice choice);

// The words of a program's command line (without the program) and what "--lang ja|en"
// among them asks for; the last one counts. `refusal` explains a missing or unknown value.
struct LANGUAGE_ARGUMENT {
    std::optional<LanguageChoice> choice;
    QString refusal;
};
LANGUAGE_ARGUMENT ReadLanguageArgument(const QStringList& words);
inline constexpr const char* kLanguageOption = "--lang";

// Auto is English when the desktop's first interface language is English and Japanese
// otherwise (the C locale included). `uiLanguages` as QLocale::system().uiLanguages().
QLocale::Language ResolveLanguage(LanguageChoice choice, const QStringList& uiLanguages);

// Installs the program's catalogue "tsq_<xx>.qm" from `programDirectory` (the build tree)
// or its installed folder relative to it, and Qt's own catalogue, for `language`; removes
// what an earlier call installed. False when the program's catalogue was needed and not
// found (the interface then stays Japanese).
bool InstallInterfaceLanguage(QLocale::Language language, const QString& programDirectory);

// "en" while the program's English catalogue is installed, else "ja": what the parts of the
// program outside the catalogue, such as the manual, follow.
QString InstalledLanguageCode();
