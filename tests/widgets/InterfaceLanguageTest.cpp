// The choice of the interface's language: the stored choice, "--lang", what "automatic"
// makes of the desktop's languages, and the English catalogue found beside the program and
// in its installed folder.

#include "ui/widgets/InterfaceLanguage.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString kBuiltCatalogue = QStringLiteral(TSQ_BINARY_DIR "/tsq_en.qm");

QString FileMenuTitle() {
    return QCoreApplication::translate("Menus", "ファイル(&F)");
}

} // namespace

class InterfaceLanguageTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { InstallInterfaceLanguage(QLocale::Japanese, {}); }

    void storedTextReadsAsChoice_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("choice");
        QTest::newRow("auto") << "auto" << int(LanguageChoice::Auto);
        QTest::newRow("ja") << "ja" << int(LanguageChoice::Japanese);
        QTest::newRow("en") << "en" << int(LanguageChoice::English);
        QTest::newRow("missing") << "" << int(LanguageChoice::Auto);
        QTest::newRow("other letter case") << "EN" << int(LanguageChoice::Auto);
        QTest::newRow("unknown language") << "fr" << int(LanguageChoice::Auto);
        QTest::newRow("trailing space") << "ja " << int(LanguageChoice::Auto);
    }
    // [GIVEN] a stored text [WHEN] read [THEN] only the three known words count; the
    // rest is automatic, as if nothing were stored
    void storedTextReadsAsChoice() {
        QFETCH(QString, text);
        QFETCH(int, choice);
        QTemporaryDir dir;
        QSettings settings(dir.filePath("s.ini"), QSettings::IniFormat);
        if (!text.isEmpty())
            settings.setValue("Interface/Language", text);
        QCOMPARE(int(LoadLanguageChoice(settings)), choice);
    }

    // [GIVEN] each choice [WHEN] saved and read again [THEN] it comes back, stored under
    // "Interface"/"Language" as "auto", "ja" or "en"
    void choiceRoundTrips() {
        QTemporaryDir dir;
        QSettings settings(dir.filePath("s.ini"), QSettings::IniFormat);
        const std::pair<LanguageChoice, const char*> cases[] = {{LanguageChoice::English, "en"},
                                                                {LanguageChoice::Japanese, "ja"},
                                                                {LanguageChoice::Auto, "auto"}};
        for (const auto& [choice, text] : cases) {
            SaveLanguageChoice(settings, choice);
            QCOMPARE(settings.value("Interface/Language").toString(), QString::fromLatin1(text));
            QCOMPARE(LoadLanguageChoice(settings), choice);
        }
    }

    void automaticFollowsFirstDesktopLanguage_data() {
        QTest::addColumn<QStringList>("languages");
        QTest::addColumn<int>("language");
        QTest::newRow("US English") << QStringList{"en-US", "en"} << int(QLocale::English);
        QTest::newRow("bare English") << QStringList{"en"} << int(QLocale::English);
        QTest::newRow("British English") << QStringList{"en_GB"} << int(QLocale::English);
        QTest::newRow("Japanese") << QStringList{"ja-JP", "ja"} << int(QLocale::Japanese);
        QTest::newRow("C locale") << QStringList{"C"} << int(QLocale::Japanese);
        QTest::newRow("none") << QStringList{} << int(QLocale::Japanese);
        QTest::newRow("German before English")
            << QStringList{"de-DE", "en-US"} << int(QLocale::Japanese);
    }
    // [GIVEN] the desktop's interface languages [WHEN] the choice is automatic [THEN]
    // English only when English comes first
    void automaticFollowsFirstDesktopLanguage() {
        QFETCH(QStringList, languages);
        QFETCH(int, language);
        QCOMPARE(int(ResolveLanguage(LanguageChoice::Auto, languages)), language);
    }

    // [GIVEN] an explicit choice [WHEN] resolved [THEN] the desktop does not matter
    void explicitChoiceIgnoresDesktop() {
        QCOMPARE(ResolveLanguage(LanguageChoice::Japanese, {"en-US"}), QLocale::Japanese);
        QCOMPARE(ResolveLanguage(LanguageChoice::English, {"ja-JP"}), QLocale::English);
        QCOMPARE(ResolveLanguage(LanguageChoice::English, {"C"}), QLocale::English);
    }

    void languageArgument_data() {
        QTest::addColumn<QStringList>("words");
        QTest::addColumn<int>("choice"); // -1: none asked for
        QTest::addColumn<bool>("refused");
        QTest::newRow("none") << QStringList{"song.tqp"} << -1 << false;
        QTest::newRow("English") << QStringList{"--lang", "en"} << int(LanguageChoice::English)
                                 << false;
        QTest::newRow("Japanese before a file")
            << QStringList{"--lang", "ja", "song.tqp"} << int(LanguageChoice::Japanese) << false;
        QTest::newRow("last one counts") << QStringList{"--lang", "en", "--lang", "ja"}
                                         << int(LanguageChoice::Japanese) << false;
        QTest::newRow("missing value") << QStringList{"song.tqp", "--lang"} << -1 << true;
        QTest::newRow("unknown value") << QStringList{"--lang", "fr"} << -1 << true;
        QTest::newRow("auto is not for one run") << QStringList{"--lang", "auto"} << -1 << true;
        QTest::newRow("another option") << QStringList{"--language", "en"} << -1 << false;
    }
    // [GIVEN] a command line [WHEN] "--lang" is read [THEN] ja and en are taken, anything
    // else is refused with a message naming the option and its values
    void languageArgument() {
        QFETCH(QStringList, words);
        QFETCH(int, choice);
        QFETCH(bool, refused);
        const LANGUAGE_ARGUMENT argument = ReadLanguageArgument(words);
        QCOMPARE(argument.choice ? int(*argument.choice) : -1, choice);
        QCOMPARE(!argument.refusal.isEmpty(), refused);
        if (refused)
            QCOMPARE(argument.refusal, QStringLiteral("--lang takes ja or en"));
    }

    // [GIVEN] the built catalogue beside the program [WHEN] English is installed, then
    // Japanese [THEN] texts read English, then the Japanese source texts again
    void catalogueBesideTheProgram() {
        QVERIFY(InstallInterfaceLanguage(QLocale::English, QStringLiteral(TSQ_BINARY_DIR)));
        QCOMPARE(FileMenuTitle(), QStringLiteral("&File"));
        QCOMPARE(InstalledLanguageCode(), QStringLiteral("en"));
        QVERIFY(InstallInterfaceLanguage(QLocale::Japanese, QStringLiteral(TSQ_BINARY_DIR)));
        QCOMPARE(FileMenuTitle(), QStringLiteral("ファイル(&F)"));
        QCOMPARE(InstalledLanguageCode(), QStringLiteral("ja"));
    }

    // [GIVEN] an installed tree: the program in bin/, the catalogue in
    // share/tesselaphon/translations/ [WHEN] English is installed [THEN] it is found there
    void catalogueInInstalledFolder() {
        QTemporaryDir prefix;
        QVERIFY(QDir().mkpath(prefix.filePath("bin")));
        QVERIFY(QDir().mkpath(prefix.filePath("share/tesselaphon/translations")));
        QVERIFY(QFile::copy(kBuiltCatalogue,
                            prefix.filePath("share/tesselaphon/translations/tsq_en.qm")));
        QVERIFY(InstallInterfaceLanguage(QLocale::English, prefix.filePath("bin")));
        QCOMPARE(FileMenuTitle(), QStringLiteral("&File"));
    }

    // [GIVEN] no catalogue anywhere [WHEN] English is asked for [THEN] false, and the
    // interface stays Japanese rather than half translated
    void missingCatalogueKeepsJapanese() {
        QTemporaryDir empty;
        QVERIFY(!InstallInterfaceLanguage(QLocale::English, empty.path()));
        QCOMPARE(FileMenuTitle(), QStringLiteral("ファイル(&F)"));
        // The manual follows the catalogue, so it stays Japanese with the interface.
        QCOMPARE(InstalledLanguageCode(), QStringLiteral("ja"));
    }
};

QTEST_MAIN(InterfaceLanguageTest)
#include "InterfaceLanguageTest.moc"
