#include "ui/widgets/InterfaceLanguage.h"

#include "ui/widgets/QtTranslation.h"

#include <QCoreApplication>
#include <QDir>
#include <QTranslator>

#include <memory>

namespace {

constexpr const char* kSettingsKey = "Interface/Language";
// Found again by this name when a later call replaces the catalogue.
constexpr const char* kTranslatorName = "interfaceTranslation";
// The language of the installed catalogue; the application thread only.
QString g_installedCode = QStringLiteral("ja");

#ifdef TSQ_INSTALLED_TRANSLATIONS
const QString kInstalledTranslations = QStringLiteral(TSQ_INSTALLED_TRANSLATIONS);
#else
const QString kInstalledTranslations = QStringLiteral("../share/tesselaphon/translations");
#endif

void RemoveProgramCatalogue(QCoreApplication* application) {
    if (auto* previous = application->findChild<QTranslator*>(QLatin1String(kTranslatorName),
                                                              Qt::FindDirectChildrenOnly)) {
        QCoreApplication::removeTranslator(previous);
        delete previous;
    }
}

bool InstallProgramCatalogue(QCoreApplication* application, const QString& name,
                             const QString& programDirectory) {
    auto translator = std::make_unique<QTranslator>();
    const QStringList folders{programDirectory,
                              QDir(programDirectory).filePath(kInstalledTranslations)};
    for (const QString& folder : folders) {
        if (translator->load(name, folder)) {
            translator->setObjectName(QLatin1String(kTranslatorName));
            translator->setParent(application);
            return QCoreApplication::installTranslator(translator.release());
        }
    }
    return false;
}

} // namespace

LanguageChoice LanguageChoiceFromText(const QString& text) {
    if (text == QLatin1String("ja"))
        return LanguageChoice::Japanese;
    if (text == QLatin1String("en"))
        return LanguageChoice::English;
    return LanguageChoice::Auto;
}

QString LanguageChoiceText(LanguageChoice choice) {
    switch (choice) {
    case LanguageChoice::Japanese:
        return QStringLiteral("ja");
    case LanguageChoice::English:
        return QStringLiteral("en");
    case LanguageChoice::Auto:
        break;
    }
    return QStringLiteral("auto");
}

LanguageChoice LoadLanguageChoice(QSettings& settings) {
    return LanguageChoiceFromText(settings.value(QLatin1String(kSettingsKey)).toString());
}

void SaveLanguageChoice(QSettings& settings, LanguageChoice choice) {
    settings.setValue(QLatin1String(kSettingsKey), LanguageChoiceText(choice));
}

LANGUAGE_ARGUMENT ReadLanguageArgument(const QStringList& words) {
    LANGUAGE_ARGUMENT result;
    const QString option = QLatin1String(kLanguageOption);
    for (qsizetype i = 0; i < words.size(); ++i) {
        if (words[i] != option)
            continue;
        const QString value = i + 1 < words.size() ? words[++i] : QString();
        if (value != QLatin1String("ja") && value != QLatin1String("en")) {
            result.refusal = option + QStringLiteral(" takes ja or en");
            result.choice.reset();
            return result;
        }
        result.choice = LanguageChoiceFromText(value);
    }
    return result;
}

QLocale::Language ResolveLanguage(LanguageChoice choice, const QStringList& uiLanguages) {
    switch (choice) {
    case LanguageChoice::Japanese:
        return QLocale::Japanese;
    case LanguageChoice::English:
        return QLocale::English;
    case LanguageChoice::Auto:
        break;
    }
    if (!uiLanguages.isEmpty() && QLocale(uiLanguages.front()).language() == QLocale::English)
        return QLocale::English;
    return QLocale::Japanese;
}

bool InstallInterfaceLanguage(QLocale::Language language, const QString& programDirectory) {
    QCoreApplication* application = QCoreApplication::instance();
    if (application == nullptr)
        return false;
    RemoveProgramCatalogue(application);
    g_installedCode = QStringLiteral("ja");
    InstallQtTranslation(language);
    if (language == QLocale::Japanese)
        return true;
    const QString code = QLocale(language).name().section(u'_', 0, 0);
    if (!InstallProgramCatalogue(application, QStringLiteral("tsq_") + code, programDirectory))
        return false;
    g_installedCode = code;
    return true;
}

QString InstalledLanguageCode() {
    return g_installedCode;
}
