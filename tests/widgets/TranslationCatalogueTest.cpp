// The English catalogue kept in the repository: every text translated and nothing left
// over from texts the program no longer has, and every translation keeps what the program
// fills in or reads out of its source text — argument places, printf conversions, the keys
// after the tab and one mnemonic where the source has one — and no Japanese.

#include "InterfaceTexts.h"

#include <QFile>
#include <QRegularExpression>
#include <QTest>
#include <QXmlStreamReader>

namespace {

const QString kCatalogue = QStringLiteral(TSQ_TEST_DATA "/../../translations/tsq_en.ts");

struct MESSAGE {
    QString context;
    QString source;
    QString translation;
    QString type; // "unfinished", "vanished", "obsolete" or empty
    bool hasTranslation = false;
};

// The text of the current element; lupdate writes a carriage return as <byte value="xd"/>.
QString ElementText(QXmlStreamReader& xml) {
    QString text;
    while (xml.readNext() != QXmlStreamReader::EndElement || xml.name() == u"byte") {
        if (xml.isCharacters())
            text += xml.text();
        else if (xml.isStartElement() && xml.name() == u"byte")
            text += QChar(
                xml.attributes().value(QLatin1String("value")).toString().toUInt(nullptr, 16));
        if (xml.atEnd())
            break;
    }
    return text;
}

QList<MESSAGE> ReadCatalogue(QString& error) {
    QFile file(kCatalogue);
    if (!file.open(QIODevice::ReadOnly)) {
        error = file.errorString();
        return {};
    }
    QList<MESSAGE> messages;
    QString context;
    QXmlStreamReader xml(&file);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == u"name") {
            context = xml.readElementText();
        } else if (xml.name() == u"message") {
            messages.append({context, {}, {}, {}, false});
        } else if (xml.name() == u"source" && !messages.isEmpty()) {
            messages.back().source = ElementText(xml);
        } else if (xml.name() == u"translation" && !messages.isEmpty()) {
            messages.back().type = xml.attributes().value(QLatin1String("type")).toString();
            messages.back().hasTranslation = true;
            messages.back().translation = ElementText(xml);
        }
    }
    if (xml.hasError())
        error = xml.errorString();
    return messages;
}

// "%1", "%2"… sorted, then the printf conversions in order ("%d", "%.1f", "%s").
QStringList Placeholders(QString text) {
    QStringList found;
    static const QRegularExpression qt(QStringLiteral("%(\\d+)"));
    for (const auto& match : qt.globalMatch(text))
        found.append(match.captured(0));
    found.sort();
    text.remove(qt);
    static const QRegularExpression printf(
        QStringLiteral("%[-+ #0]*(\\d+|\\*)?(\\.\\d+)?(hh|h|ll|l|z)?[diouxXeEfgGcsp%]"));
    for (const auto& match : printf.globalMatch(text))
        found.append(match.captured(0));
    return found;
}

int Mnemonics(QString text) {
    text.remove(QStringLiteral("&&"));
    return int(text.count(u'&'));
}

QString Where(const MESSAGE& m) {
    return m.context + QStringLiteral(": ") + m.source;
}

} // namespace

class TranslationCatalogueTest : public QObject {
    Q_OBJECT

private slots:
    // [GIVEN] the catalogue [WHEN] read [THEN] it holds the texts of the menus, and every
    // entry is finished, current and not empty
    void everyEntryTranslated() {
        QString error;
        const QList<MESSAGE> messages = ReadCatalogue(error);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QVERIFY(messages.size() > 400);
        for (const MESSAGE& m : messages) {
            QVERIFY2(m.hasTranslation, qPrintable(Where(m)));
            QVERIFY2(m.type.isEmpty(), qPrintable(m.type + QStringLiteral(" ") + Where(m)));
            QVERIFY2(!m.translation.isEmpty(), qPrintable(Where(m)));
        }
    }

    // [GIVEN] each entry [THEN] the translation fills in the same places, shows the same
    // keys after the tab, has a mnemonic where the source has one, and reads English
    void translationsKeepWhatTheProgramUses() {
        QString error;
        for (const MESSAGE& m : ReadCatalogue(error)) {
            const QString where = Where(m) + QStringLiteral(" -> ") + m.translation;
            QVERIFY2(Placeholders(m.translation) == Placeholders(m.source), qPrintable(where));
            QVERIFY2(m.translation.section(u'\t', 1) == m.source.section(u'\t', 1),
                     qPrintable(where));
            QVERIFY2(Mnemonics(m.translation) == std::min(Mnemonics(m.source), 1),
                     qPrintable(where));
            QVERIFY2(!HasJapanese(m.translation), qPrintable(where));
        }
    }

    // The checks themselves: a lost argument, a lost conversion and a lost mnemonic are seen.
    void checksSeeFaults() {
        QVERIFY(Placeholders(QStringLiteral("%1 of %2")) != Placeholders(QStringLiteral("%1")));
        QVERIFY(Placeholders(QStringLiteral("T%.1f")) != Placeholders(QStringLiteral("T%d")));
        QVERIFY(Placeholders(QStringLiteral("%2 then %1")) ==
                Placeholders(QStringLiteral("%1 then %2")));
        QCOMPARE(Placeholders(QStringLiteral("%1 s left")), QStringList{"%1"});
        QCOMPARE(Mnemonics(QStringLiteral("Save && &Quit")), 1);
        QVERIFY(HasJapanese(QStringLiteral("開く")));
        QVERIFY(!HasJapanese(QStringLiteral("Open • Ctrl+O")));
    }
};

QTEST_MAIN(TranslationCatalogueTest)
#include "TranslationCatalogueTest.moc"
