#include "ui/widgets/QtTranslation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include <memory>

namespace {

// The installed catalogue is found again by this name when the language changes.
constexpr const char* kTranslatorName = "qtTranslation";

} // namespace

bool InstallQtTranslation(QLocale::Language language) {
    QCoreApplication* application = QCoreApplication::instance();
    if (application == nullptr)
        return false;
    if (auto* previous = application->findChild<QTranslator*>(QLatin1String(kTranslatorName),
                                                              Qt::FindDirectChildrenOnly)) {
        QCoreApplication::removeTranslator(previous);
        delete previous;
    }
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(QLocale(language), QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return false;
    translator->setObjectName(QLatin1String(kTranslatorName));
    translator->setParent(application);
    return QCoreApplication::installTranslator(translator.release());
}
