#include "player/CSonaloApp.h"

#include "player/CSonaloDlg.h"
#include "ui/widgets/QtTranslation.h"

CSonaloApp::CSonaloApp(int& argc, char** argv) : QApplication(argc, argv) {
    setOrganizationName(QStringLiteral("Ostrova"));
    setApplicationName(QStringLiteral("Sonalo"));
    InstallQtTranslation(QLocale::Japanese);
}

QString CSonaloApp::PathToLoad(const QStringList& arguments) {
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        if (!arguments[i].startsWith(QLatin1Char('-'))) {
            return arguments[i];
        }
    }
    return {};
}

int CSonaloApp::Run() {
    CSonaloDlg dialog(PathToLoad(arguments()));
    dialog.show();
    return exec();
}
