#include "ui/ManualLocation.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

namespace manuallocation {

namespace {
constexpr const char* kBuildTreeManual = "manual";
constexpr const char* kInstalledManual = TSQ_INSTALLED_MANUAL;
} // namespace

QString LanguageFolder(const QString& languageCode) {
    return languageCode.startsWith(QLatin1String("en"), Qt::CaseInsensitive) ? QStringLiteral("en")
                                                                             : QStringLiteral("ja");
}

QStringList Candidates(const QString& programFolder) {
    const QDir folder(programFolder);
    return {QDir::cleanPath(folder.absoluteFilePath(QLatin1String(kBuildTreeManual))),
            QDir::cleanPath(folder.absoluteFilePath(QLatin1String(kInstalledManual)))};
}

QString IndexPage(const QString& programFolder, const QString& languageCode) {
    if (programFolder.isEmpty())
        return {};
    const QString page = LanguageFolder(languageCode) + QStringLiteral("/index.html");
    for (const QString& candidate : Candidates(programFolder)) {
        const QFileInfo index(candidate + u'/' + page);
        if (index.isFile())
            return index.absoluteFilePath();
    }
    return {};
}

} // namespace manuallocation
