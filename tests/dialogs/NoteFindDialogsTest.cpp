// The note properties dialog and the find dialog.
#include "DialogTestUtil.h"

#include "dialogs/CFindDialog.h"
#include "dialogs/CNoteDialog.h"
#include "dialogs/CNumberEdit.h"
#include "dialogs/CPositionEdit.h"
#include "dialogs/FindDataSettings.h"
#include "model/CBeats.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QSettings>
#include <QTemporaryDir>

using namespace dlgtest;

namespace {

QString Text(CNumberEdit* edit) {
    return edit->findChild<QLineEdit*>()->text();
}

CNote MakeNote(int32_t position, int32_t length, int32_t key) {
    CNote note;
    note.position = position;
    note.length = length;
    note.key = key;
    note.volume = 200;
    note.portamentoLevel = -256;
    return note;
}

// Chooses list entry `index` with the keyboard, as a user would.
void Choose(QComboBox* list, int index) {
    list->setFocus(Qt::TabFocusReason);
    QTest::keyClick(list, Qt::Key_Home);
    for (int i = 0; i < index; ++i)
        QTest::keyClick(list, Qt::Key_Down);
}

} // namespace

class NoteFindDialogsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QuietOffscreenWarnings(); }

    // [GIVEN] notes with lengths 480 and 960 [THEN] the length is empty [WHEN] OK untouched
    // [THEN] nothing comes back
    void noteDialogLeavesDifferingFieldsAlone() {
        const CNote a = MakeNote(0, 480, 50), b = MakeNote(1920, 960, 50);
        CNoteDialog dialog;
        QCOMPARE(dialog.windowTitle(), QStringLiteral("音符"));
        dialog.SetNotes({&a, &b});
        auto* length = Child<CNumberEdit>(&dialog, "length");
        QVERIFY(length->IsEmpty());
        QCOMPARE(Child<CPositionEdit>(&dialog, "position")->text(), QString());
        QCOMPARE(Text(Child<CNumberEdit>(&dialog, "volume")), QStringLiteral("200"));
        QCOMPARE(Child<QComboBox>(&dialog, "octave")->currentText(), QStringLiteral("4"));
        QCOMPARE(Child<QComboBox>(&dialog, "key")->currentText(), QStringLiteral("A"));
        QVERIFY(ShowActive(&dialog));
        Leave(length, Child<CNumberEdit>(&dialog, "keyoff"));
        QVERIFY(length->IsEmpty());
        Click(OkButton(&dialog));
        const NOTE_CHANGES changes = dialog.GetChanges();
        QVERIFY(changes.IsEmpty());
        CNote applied = b;
        changes.ApplyTo(applied);
        QVERIFY(applied.SameValues(b));
    }

    // [WHEN] only the octave and the volume are changed [THEN] only those come back, and the
    // key keeps each note's own letter
    void noteDialogReturnsOnlyChangedFields() {
        const CNote a = MakeNote(0, 480, 50), b = MakeNote(480, 480, 53);
        CNoteDialog dialog;
        dialog.SetNotes({&a, &b});
        QCOMPARE(Child<QComboBox>(&dialog, "key")->currentIndex(), -1);
        QVERIFY(ShowActive(&dialog));
        Choose(Child<QComboBox>(&dialog, "octave"), 2); // octave "6"
        auto* volume = Child<CNumberEdit>(&dialog, "volume");
        TypeOver(volume, "300");
        Leave(volume, OkButton(&dialog));
        QCOMPARE(Text(volume), QStringLiteral("255"));
        Click(OkButton(&dialog));
        const NOTE_CHANGES changes = dialog.GetChanges();
        QCOMPARE(changes.octave, std::optional<int32_t>(2));
        QVERIFY(!changes.keyInOctave);
        QCOMPARE(changes.volume, std::optional<int32_t>(255));
        QVERIFY(!changes.length && !changes.position && !changes.portamentoLevel);
        CNote x = a, y = b;
        changes.ApplyTo(x);
        changes.ApplyTo(y);
        QCOMPARE(x.key, 2 + 24);
        QCOMPARE(y.key, 5 + 24);
        QCOMPARE(x.length, 480);
    }

    void noteDialogClampsOnLeaving() {
        const CNote a = MakeNote(0, 480, 50);
        CNoteDialog dialog;
        dialog.SetNotes({&a});
        QVERIFY(ShowActive(&dialog));
        auto* length = Child<CNumberEdit>(&dialog, "length");
        auto* start = Child<CNumberEdit>(&dialog, "portamentoStart");
        auto* level = Child<CNumberEdit>(&dialog, "portamentoLevel");
        TypeOver(length, "0");
        Leave(length, start);
        QCOMPARE(Text(length), QStringLiteral("1"));
        TypeOver(level, "-70000");
        Leave(level, start);
        QCOMPARE(Text(level), QStringLiteral("-70000"));
        auto* position = Child<CPositionEdit>(&dialog, "position");
        TypeOver(position, "2:0");
        Click(OkButton(&dialog));
        const NOTE_CHANGES changes = dialog.GetChanges();
        QCOMPARE(changes.length, std::optional<int32_t>(1));
        QCOMPARE(changes.portamentoLevel, std::optional<int32_t>(-70000));
        QCOMPARE(changes.position, std::optional<int32_t>(1920));
    }

    // [WHEN] every switch is off [THEN] "検索" is disabled and a row's range too
    void findNeedsOneSwitch() {
        CFindDialog dialog;
        QCOMPARE(dialog.windowTitle(), QStringLiteral("検索"));
        FIND_DATA data;
        data.volume = 1;
        dialog.SetFindData(data);
        QPushButton* search = OkButton(&dialog);
        QCOMPARE(search->text(), QStringLiteral("検索"));
        QVERIFY(ShowActive(&dialog));
        QVERIFY(search->isEnabled());
        QVERIFY(Child<CNumberEdit>(&dialog, "volumeStart")->isEnabled());
        QVERIFY(!Child<CNumberEdit>(&dialog, "lengthStart")->isEnabled());
        Click(Child<QCheckBox>(&dialog, "volume"));
        QVERIFY(!search->isEnabled());
        QVERIFY(!Child<CNumberEdit>(&dialog, "volumeStart")->isEnabled());
        QTest::keyClick(&dialog, Qt::Key_Return);
        QVERIFY(dialog.isVisible());
        Click(Child<QCheckBox>(&dialog, "key"));
        QVERIFY(search->isEnabled());
    }

    // [GIVEN] C4 .. C5 chosen [WHEN] "検索" [THEN] the larger key number is stored as
    // KeyStart, and every range is stored in order
    void findPutsRangesInOrderAndStoresThem() {
        QTemporaryDir dir;
        QSettings store(dir.filePath(QStringLiteral("find.ini")), QSettings::IniFormat);
        store.setValue(QStringLiteral("FindData/Key"), 1);
        store.setValue(QStringLiteral("FindData/KeyStart"), 59);
        store.setValue(QStringLiteral("FindData/KeyEnd"), 500); // damaged
        CBeats beats;
        CFindDialog dialog;
        dialog.SetBeats(&beats);
        dialog.SetStore(&store);
        auto* keyStart = Child<QComboBox>(&dialog, "keyStart");
        auto* keyEnd = Child<QComboBox>(&dialog, "keyEnd");
        QCOMPARE(keyStart->currentText(), QStringLiteral("C4"));
        QCOMPARE(keyEnd->currentIndex(), 95);
        QVERIFY(ShowActive(&dialog));
        keyEnd->setFocus(Qt::TabFocusReason);
        keyEnd->setCurrentIndex(47); // C5
        Click(Child<QCheckBox>(&dialog, "pos"));
        TypeOver(Child<CPositionEdit>(&dialog, "posStart"), "3:0");
        TypeOver(Child<CPositionEdit>(&dialog, "posEnd"), "2:0");
        Click(Child<QCheckBox>(&dialog, "volume"));
        TypeOver(Child<CNumberEdit>(&dialog, "volumeStart"), "200");
        TypeOver(Child<CNumberEdit>(&dialog, "volumeEnd"), "10");
        Click(OkButton(&dialog));
        QCOMPARE(dialog.result(), int(QDialog::Accepted));

        const FIND_DATA got = dialog.GetFindData();
        QCOMPARE(got.keyStart, 59);
        QCOMPARE(got.keyEnd, 47);
        QCOMPARE(got.posStart, 1920);
        QCOMPARE(got.posEnd, 3840);
        QCOMPARE(got.volumeStart, 10);
        QCOMPARE(got.volumeEnd, 200);
        QCOMPARE(keyStart->currentText(), QStringLiteral("C4"));
        QCOMPARE(keyEnd->currentText(), QStringLiteral("C5"));

        store.sync();
        QSettings reread(store.fileName(), QSettings::IniFormat);
        const FIND_DATA stored = LoadFindData(reread);
        QCOMPARE(stored.keyStart, 59);
        QCOMPARE(stored.keyEnd, 47);
        QCOMPARE(stored.pos, 1);
        QCOMPARE(stored.posStart, 1920);
        QCOMPARE(stored.volumeEnd, 200);
        QCOMPARE(reread.value(QStringLiteral("FindData/KeyStart")).toInt(), 59);
    }

    void findDataLoadsDefaultsFromAnEmptyStore() {
        QTemporaryDir dir;
        QSettings store(dir.filePath(QStringLiteral("empty.ini")), QSettings::IniFormat);
        const FIND_DATA d = LoadFindData(store);
        QVERIFY(!d.AnyEnabled());
        QCOMPARE(d.keyStart, 59);
        QCOMPARE(d.keyEnd, 59);
        QCOMPARE(d.lengthStart, 1);
    }
};

QTEST_MAIN(NoteFindDialogsTest)
#include "NoteFindDialogsTest.moc"
