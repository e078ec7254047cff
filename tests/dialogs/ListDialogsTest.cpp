// The three timeline list dialogs and their item dialogs.
#include "DialogTestUtil.h"

#include "dialogs/CBeatListDialog.h"
#include "dialogs/CDecimalEdit.h"
#include "dialogs/CNumberEdit.h"
#include "dialogs/CPositionEdit.h"
#include "dialogs/CTempoListDialog.h"
#include "dialogs/CVolumeListDialog.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QTreeWidget>

using namespace dlgtest;

namespace {

QTreeWidget* List(QDialog* dialog) {
    return Child<QTreeWidget>(dialog, "list");
}

QStringList Rows(QDialog* dialog) {
    QStringList rows;
    QTreeWidget* tree = List(dialog);
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        rows << tree->topLevelItem(i)->text(0) + " | " + tree->topLevelItem(i)->text(1);
    return rows;
}

void Select(QDialog* dialog, int row) {
    QTreeWidget* tree = List(dialog);
    const QRect rect = tree->visualItemRect(tree->topLevelItem(row));
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, Qt::NoModifier, rect.center());
}

// The events of a real double-click: press and release, then the second press arrives as a
// double-click, then its release.
void DoubleClickAt(QDialog* dialog, QPoint at) {
    QWidget* viewport = List(dialog)->viewport();
    QTest::mouseClick(viewport, Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseDClick(viewport, Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseRelease(viewport, Qt::LeftButton, Qt::NoModifier, at);
}

QPushButton* Button(QDialog* dialog, const char* name) {
    return Child<QPushButton>(dialog, name);
}

} // namespace

class ListDialogsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QuietOffscreenWarnings(); }

    void listsShowTheirColumnsAndTexts() {
        CBeats beats;
        beats.Assign({BEAT{0, 3, 4}, BEAT{8, 6, 8}});
        CBeatListDialog beatList;
        beatList.SetList(beats);
        QCOMPARE(beatList.windowTitle(), QStringLiteral("拍子の設定"));
        QCOMPARE(List(&beatList)->headerItem()->text(0), QStringLiteral("小節"));
        QCOMPARE(List(&beatList)->headerItem()->text(1), QStringLiteral("拍子"));
        QCOMPARE(Rows(&beatList), QStringList({"1 | 3 / 4", "9 | 6 / 8"}));

        CTempoList tempos;
        tempos.Assign({TEMPO{0, 120.0}, TEMPO{1440 + 100, 97.5}, TEMPO{2880, 60.125}});
        CTempoListDialog tempoList;
        tempoList.SetBeats(&beats);
        tempoList.SetList(tempos);
        QCOMPARE(tempoList.windowTitle(), QStringLiteral("テンポの設定"));
        QCOMPARE(List(&tempoList)->headerItem()->text(0), QStringLiteral("位置"));
        QCOMPARE(List(&tempoList)->headerItem()->text(1), QStringLiteral("テンポ"));
        QCOMPARE(Rows(&tempoList), QStringList({"1:0 | 120", "2:100 | 97.5", "3:0 | 60.125"}));

        CVolumeList volumes;
        volumes.Assign({VOLUME{0, 128}, VOLUME{1920, 0}});
        CVolumeListDialog volumeList;
        volumeList.SetList(volumes);
        QCOMPARE(volumeList.windowTitle(), QStringLiteral("音量の設定"));
        QCOMPARE(List(&volumeList)->headerItem()->text(1), QStringLiteral("音量"));
        QCOMPARE(Rows(&volumeList), QStringList({"1:0 | 128", "2:0 | 0"}));
    }

    // [GIVEN] {0: 3/4, 8: 4/4} [WHEN] the first is deleted [THEN] {0: 4/4}
    void deletingTheFirstSignatureMovesTheNextToTheStart() {
        CBeats beats;
        beats.Assign({BEAT{0, 3, 4}, BEAT{8, 4, 4}});
        CBeatListDialog dialog;
        dialog.SetList(beats);
        QVERIFY(ShowActive(&dialog));
        QVERIFY(!Button(&dialog, "remove")->isEnabled());
        Select(&dialog, 0);
        QVERIFY(Button(&dialog, "remove")->isEnabled());
        Click(Button(&dialog, "remove"));
        QCOMPARE(dialog.GetList().Items(), (std::vector<BEAT>{BEAT{0, 4, 4}}));
        QCOMPARE(Rows(&dialog), QStringList({"1 | 4 / 4"}));
        Select(&dialog, 0);
        QVERIFY(!Button(&dialog, "remove")->isEnabled());
        QVERIFY(dialog.GetList().IsValid());
    }

    // [GIVEN] one tempo [WHEN] it is selected [THEN] delete stays disabled, edit enables
    void singleEntryCannotBeDeleted() {
        CTempoListDialog dialog;
        dialog.SetList(CTempoList());
        QVERIFY(ShowActive(&dialog));
        QVERIFY(!Button(&dialog, "edit")->isEnabled());
        Select(&dialog, 0);
        QVERIFY(Button(&dialog, "edit")->isEnabled());
        QVERIFY(!Button(&dialog, "remove")->isEnabled());
    }

    // [GIVEN] tempos at 0 and 1920 [WHEN] a tempo is added at 2:0 [THEN] it replaces
    void addingAtAnExistingPositionReplaces() {
        CTempoList tempos;
        tempos.Assign({TEMPO{0, 120.0}, TEMPO{1920, 90.0}});
        CTempoListDialog dialog;
        dialog.SetList(tempos);
        QVERIFY(ShowActive(&dialog));
        OnNextModal(&dialog, [](QDialog* item) {
            QCOMPARE(item->windowTitle(), QStringLiteral("テンポの追加"));
            auto* position = Child<CPositionEdit>(item, "position");
            QCOMPARE(position->text(), QStringLiteral("1:0"));
            QVERIFY(position->isEnabled());
            QCOMPARE(Child<CDecimalEdit>(item, "tempo")->Value(), 120.0);
            TypeOver(position, "2:0");
            TypeOver(Child<CDecimalEdit>(item, "tempo"), "150.5");
            Click(OkButton(item));
        });
        Click(Button(&dialog, "add"));
        QCOMPARE(dialog.GetList().Items(),
                 (std::vector<TEMPO>{TEMPO{0, 120.0}, TEMPO{1920, 150.5}}));
        QCOMPARE(List(&dialog)->currentItem(), List(&dialog)->topLevelItem(1));
    }

    void addingInsertsInPositionOrder() {
        CVolumeList volumes;
        volumes.Assign({VOLUME{0, 128}, VOLUME{3840, 10}});
        CVolumeListDialog dialog;
        dialog.SetList(volumes);
        QVERIFY(ShowActive(&dialog));
        OnNextModal(&dialog, [](QDialog* item) {
            QCOMPARE(item->windowTitle(), QStringLiteral("音量の追加"));
            TypeOver(Child<CPositionEdit>(item, "position"), "1:960");
            auto* volume = Child<CNumberEdit>(item, "volume");
            QCOMPARE(volume->Value(), 128);
            TypeOver(volume, "256");
            Click(OkButton(item));
        });
        Click(Button(&dialog, "add"));
        QCOMPARE(dialog.GetList().Items(),
                 (std::vector<VOLUME>{VOLUME{0, 128}, VOLUME{960, 255}, VOLUME{3840, 10}}));
    }

    // [WHEN] the first entry is edited [THEN] its position is fixed at 0 and disabled
    void editingTheFirstEntryKeepsItAtTheStart() {
        CBeats beats;
        beats.Assign({BEAT{0, 3, 4}, BEAT{2, 4, 4}});
        CBeatListDialog dialog;
        dialog.SetList(beats);
        QVERIFY(ShowActive(&dialog));
        Select(&dialog, 0);
        OnNextModal(&dialog, [](QDialog* item) {
            QCOMPARE(item->windowTitle(), QStringLiteral("拍子の編集"));
            auto* measure = Child<CNumberEdit>(item, "measure");
            QVERIFY(!measure->isEnabled());
            QCOMPARE(measure->Value(), 1);
            QCOMPARE(Child<CNumberEdit>(item, "beat")->Value(), 3);
            TypeOver(Child<CNumberEdit>(item, "beat"), "99");
            Child<QComboBox>(item, "baseBeat")->setCurrentIndex(3);
            Click(OkButton(item));
        });
        Click(Button(&dialog, "edit"));
        QCOMPARE(dialog.GetList().Items(), (std::vector<BEAT>{BEAT{0, 64, 8}, BEAT{2, 4, 4}}));
    }

    // [WHEN] a later entry is moved [THEN] the old one goes and the new one sorts in
    void editingMovesAnEntry() {
        CTempoList tempos;
        tempos.Assign({TEMPO{0, 120.0}, TEMPO{1920, 90.0}, TEMPO{3840, 60.0}});
        CTempoListDialog dialog;
        dialog.SetList(tempos);
        QVERIFY(ShowActive(&dialog));
        Select(&dialog, 1);
        OnNextModal(&dialog, [](QDialog* item) {
            QCOMPARE(item->windowTitle(), QStringLiteral("テンポの編集"));
            auto* position = Child<CPositionEdit>(item, "position");
            QVERIFY(position->isEnabled());
            QCOMPARE(position->text(), QStringLiteral("2:0"));
            TypeOver(position, "4:0");
            Click(OkButton(item));
        });
        Click(Button(&dialog, "edit"));
        QCOMPARE(dialog.GetList().Items(),
                 (std::vector<TEMPO>{TEMPO{0, 120.0}, TEMPO{3840, 60.0}, TEMPO{5760, 90.0}}));
    }

    // [WHEN] a row is double-clicked [THEN] edit; below the rows with nothing selected [THEN]
    // add
    void doubleClickEditsOrAdds() {
        CVolumeList volumes;
        volumes.Assign({VOLUME{0, 128}, VOLUME{1920, 64}});
        CVolumeListDialog dialog;
        dialog.SetList(volumes);
        QVERIFY(ShowActive(&dialog));
        QString caption;
        OnNextModal(&dialog, [&caption](QDialog* item) {
            caption = item->windowTitle();
            Click(CancelButton(item));
        });
        const QRect below = List(&dialog)->viewport()->rect();
        DoubleClickAt(&dialog, QPoint(below.center().x(), below.bottom() - 4));
        QCOMPARE(caption, QStringLiteral("音量の追加"));

        const QRect row = List(&dialog)->visualItemRect(List(&dialog)->topLevelItem(1));
        OnNextModal(&dialog, [&caption](QDialog* item) {
            caption = item->windowTitle();
            QCOMPARE(Child<CNumberEdit>(item, "volume")->Value(), 64);
            Click(CancelButton(item));
        });
        DoubleClickAt(&dialog, row.center());
        QCOMPARE(caption, QStringLiteral("音量の編集"));
        QCOMPARE(dialog.GetList().size(), size_t(2));
    }

    void deletingALaterEntryKeepsTheOthers() {
        CVolumeList volumes;
        volumes.Assign({VOLUME{0, 128}, VOLUME{1920, 64}, VOLUME{3840, 32}});
        CVolumeListDialog dialog;
        dialog.SetList(volumes);
        QVERIFY(ShowActive(&dialog));
        Select(&dialog, 1);
        Click(Button(&dialog, "remove"));
        QCOMPARE(dialog.GetList().Items(), (std::vector<VOLUME>{VOLUME{0, 128}, VOLUME{3840, 32}}));
        Click(Button(&dialog, "remove"));
        QCOMPARE(dialog.GetList().Items(), (std::vector<VOLUME>{VOLUME{0, 128}}));
        QVERIFY(!Button(&dialog, "remove")->isEnabled());
    }
};

QTEST_MAIN(ListDialogsTest)
#include "ListDialogsTest.moc"
