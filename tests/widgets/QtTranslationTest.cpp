// Qt's own texts after the programs' translation loader ran: standard buttons read in
// Japanese, a later call with another language replaces the catalogue, and a language
// without a catalogue leaves Qt's English.

#include "ui/widgets/QtTranslation.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>

namespace {

bool CatalogueInstalled(const char* language) {
    return QFileInfo::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) +
                             QStringLiteral("/qtbase_%1.qm").arg(QLatin1String(language)));
}

// A button's caption without its mnemonic: "はい(&Y)" and "&Yes" read "はい" and "Yes".
QString Caption(const QAbstractButton* button) {
    QString text = button->text();
    text.remove(QRegularExpression(QStringLiteral("\\(&.\\)$")));
    return text.remove(QLatin1Char('&'));
}

} // namespace

class QtTranslationTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { InstallQtTranslation(QLocale::English); }

    // [GIVEN] the Japanese catalogue [WHEN] the loader ran [THEN] a question box offers
    // "はい" / "いいえ" and a button box "キャンセル"
    void standardButtonsReadJapanese() {
        if (!CatalogueInstalled("ja"))
            QSKIP("qtbase_ja.qm is not installed");
        QVERIFY(InstallQtTranslation(QLocale::Japanese));
        QMessageBox box(QMessageBox::Question, QStringLiteral("t"), QStringLiteral("q"),
                        QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(Caption(box.button(QMessageBox::Yes)), QStringLiteral("はい"));
        QCOMPARE(Caption(box.button(QMessageBox::No)), QStringLiteral("いいえ"));
        QDialogButtonBox buttons(QDialogButtonBox::Cancel);
        QCOMPARE(Caption(buttons.button(QDialogButtonBox::Cancel)), QStringLiteral("キャンセル"));
    }

    // [GIVEN] Japanese installed [WHEN] the loader runs for English, then for a language Qt
    // has no catalogue of [THEN] the buttons read English again each time
    void anotherLanguageReplacesTheCatalogue() {
        if (!CatalogueInstalled("ja"))
            QSKIP("qtbase_ja.qm is not installed");
        QVERIFY(InstallQtTranslation(QLocale::Japanese));
        InstallQtTranslation(QLocale::English);
        QMessageBox english(QMessageBox::Question, QStringLiteral("t"), QStringLiteral("q"),
                            QMessageBox::Yes);
        QCOMPARE(Caption(english.button(QMessageBox::Yes)), QStringLiteral("Yes"));

        QVERIFY(InstallQtTranslation(QLocale::Japanese));
        QVERIFY(!InstallQtTranslation(QLocale::Esperanto));
        QMessageBox fallback(QMessageBox::Question, QStringLiteral("t"), QStringLiteral("q"),
                             QMessageBox::Yes);
        QCOMPARE(Caption(fallback.button(QMessageBox::Yes)), QStringLiteral("Yes"));
    }
};

QTEST_MAIN(QtTranslationTest)
#include "QtTranslationTest.moc"
