// The player in English: with the English catalogue loaded, its window and its about box
// show no Japanese text.

#include "InterfaceTexts.h"

#include "player/CAboutDlg.h"
#include "player/CSonaloDlg.h"
#include "ui/widgets/InterfaceLanguage.h"

#include <QTest>

class SonaloEnglishTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QVERIFY(InstallInterfaceLanguage(QLocale::English, QStringLiteral(TSQ_BINARY_DIR)));
    }

    // [GIVEN] the player's window and about box in English [THEN] nothing reads Japanese
    void windowsShowNoJapanese() {
        CSonaloDlg window;
        CAboutDlg about;
        QStringList found;
        for (QWidget* shown : std::initializer_list<QWidget*>{&window, &about}) {
            shown->show();
            QVERIFY(QTest::qWaitForWindowExposed(shown));
            found << JapaneseTexts(*shown);
        }
        QVERIFY2(found.isEmpty(), qPrintable(found.join(u'\n')));
    }
};

QTEST_MAIN(SonaloEnglishTest)
#include "SonaloEnglishTest.moc"
