#pragma once
// Where the user's manual lives: beside the program in the build tree ("manual/"), or in the
// data folder relative to the program once installed, one folder per language with its
// index.html.

#include <QString>

namespace manuallocation {

// The manual's language folder for an interface language code: "en" for English ("en",
// "en_GB"), "ja" for everything else, Japanese being the interface's own language.
QString LanguageFolder(const QString& languageCode);
// The folders searched for the manual, in order.
QStringList Candidates(const QString& programFolder);
// The front page in the language, or empty when no manual is there.
QString IndexPage(const QString& programFolder, const QString& languageCode);

} // namespace manuallocation
