#include "app/EditorLook.h"

#include "common/AppTitle.h"
#include "dialogs/CAboutDlg.h"

#include <QApplication>
#include <QFont>
#include <QFontDatabase>
#include <QIcon>

namespace {

// Preferred in this order; the first one installed is used. The desktop's own font is
// kept when none is there.
const char* const kJapaneseFonts[] = {"Noto Sans CJK JP", "Noto Sans JP", "IPAexGothic",
                                      "IPAGothic",        "TakaoGothic",  "VL Gothic"};

} // namespace

void ApplyEditorLook(QApplication& application) {
    QApplication::setOrganizationName(kCompanyName);
    QApplication::setApplicationName(kAppTitle);
    QApplication::setApplicationDisplayName(kAppTitle);
    const QStringList families = QFontDatabase::families();
    for (const char* name : kJapaneseFonts) {
        if (families.contains(QString::fromLatin1(name))) {
            QFont font = application.font();
            font.setFamilies({QString::fromLatin1(name), font.family()});
            application.setFont(font);
            break;
        }
    }
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addPixmap(CAboutDlg::ProgramIcon(size));
    QApplication::setWindowIcon(icon);
}
