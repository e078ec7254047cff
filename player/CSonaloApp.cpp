#include "player/CSonaloApp.h"

#include "player/CSonaloDlg.h"
#include "ui/widgets/InterfaceLanguage.h"

#include <QSettings>

#include <cstdio>

CSonaloApp::CSonaloApp(int& argc, char** argv) : QApplication(argc, argv) {
    setOrganizationName(QStringLiteral("Ostrova"));
    setApplicationName(QStringLiteral("Sonalo"));
    const LANGUAGE_ARGUMENT language = ReadLanguageArgument(arguments().mid(1));
    m_refusal = language.refusal;
    // The player keeps no settings of its own: it speaks the language chosen in the editor.
    QSettings editor(QSettings::NativeFormat, QSettings::UserScope, organizationName(),
                     QStringLiteral("Tesselaphon Editor"));
    const LanguageChoice choice = language.choice.value_or(LoadLanguageChoice(editor));
    InstallInterfaceLanguage(ResolveLanguage(choice, QLocale::system().uiLanguages()),
                             applicationDirPath());
}

QString CSonaloApp::PathToLoad(const QStringList& arguments) {
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        if (arguments[i] == QLatin1String(kLanguageOption))
            ++i;
        else if (!arguments[i].startsWith(QLatin1Char('-')))
            return arguments[i];
    }
    return {};
}

int CSonaloApp::Run() {
    if (!m_refusal.isEmpty()) {
        std::fprintf(stderr, "Sonalo: %s\nUsage: Sonalo [--lang ja|en] [FILE.wav]\n",
                     m_refusal.toLocal8Bit().constData());
        return 2;
    }
    CSonaloDlg dialog(PathToLoad(arguments()));
    dialog.show();
    return exec();
}
