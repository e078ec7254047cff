#include "app/EditorMain.h"

#include "app/CTSQApp.h"
#include "app/EditorLook.h"
#include "ui/widgets/QtTranslation.h"

#include <QApplication>

int RunEditor(int argc, char** argv) {
    QApplication application(argc, argv);
    ApplyEditorLook(application);
    InstallQtTranslation(QLocale::Japanese);
    CTSQApp app;
    if (const std::optional<int> status = app.Start(QApplication::arguments().mid(1))) {
        app.Shutdown();
        return *status;
    }
    const int status = QApplication::exec();
    app.Shutdown();
    return status;
}
