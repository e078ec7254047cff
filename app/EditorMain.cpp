#include "app/EditorMain.h"

#include "app/CSettingsStore.h"
#include "app/CTSQApp.h"
#include "app/CommandLine.h"
#include "app/EditorLook.h"
#include "ui/widgets/InterfaceLanguage.h"

#include <QApplication>

namespace {

// The language is chosen before the first window, from "--lang" or else the stored choice.
void ChooseLanguage(std::optional<LanguageChoice> argument) {
    CSettingsStore store;
    const LanguageChoice choice = argument.value_or(LoadLanguageChoice(store.Settings()));
    InstallInterfaceLanguage(ResolveLanguage(choice, QLocale::system().uiLanguages()),
                             QCoreApplication::applicationDirPath());
}

} // namespace

int RunEditor(int argc, char** argv) {
    QStringList words;
    for (int i = 1; i < argc; ++i)
        words.append(QString::fromLocal8Bit(argv[i]));
    // Refused before the application object exists, so the message needs no display.
    const LANGUAGE_ARGUMENT language = ReadLanguageArgument(words);
    if (!language.refusal.isEmpty())
        return UsageError(language.refusal.toStdString());
    QApplication application(argc, argv);
    ApplyEditorLook(application);
    ChooseLanguage(language.choice);
    CTSQApp app;
    if (const std::optional<int> status = app.Start(QApplication::arguments().mid(1))) {
        app.Shutdown();
        return *status;
    }
    const int status = QApplication::exec();
    app.Shutdown();
    return status;
}
