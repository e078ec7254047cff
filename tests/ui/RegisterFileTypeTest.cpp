// "ファイルの関連付け" on the freedesktop files of a private home: the state of the
// association, setting it over another program's, removing it, and failures.

#include "UiTestSupport.h"

#include "app/CFileTypeRegistry.h"
#include "app/CMimeAppsList.h"
#include "app/CRegisterFileTypeDialog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QStandardPaths>
#include <QTest>

namespace {

const QString kProgram = QStringLiteral("/opt/Tesselaphon Editor/bin/tsq");
const QString kExtension = QStringLiteral(".tqp");
const QString kDescription = QStringLiteral("Tesselaphon Editor プロジェクト");
const QString kDenied =
    QStringLiteral("アクセスが拒否されました。\n\n管理者権限で実行して下さい。");

QString ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

bool Write(const QString& path, const QString& text) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text.toUtf8()) >= 0;
}

} // namespace

class RegisterFileTypeTest : public QObject {
    Q_OBJECT
private:
    CFileTypeRegistry registry{kProgram, kExtension, kDescription, 1};
    ScriptedPrompts prompts;

    QString DataHome() const {
        return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    }
    QString ConfigHome() const {
        return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    }

    // Another program's entry, made the type's default.
    void AssociateOtherProgram(const QString& extraLines = {}) {
        QVERIFY(Write(DataHome() + "/applications/other-editor.desktop",
                      "[Desktop Entry]\nType=Application\nName=Other\nExec=/usr/bin/other %f\n"));
        QVERIFY(Write(registry.MimeAppsPath(),
                      extraLines + "[Default Applications]\n" +
                          QString::fromLatin1(CFileTypeRegistry::kMimeType) +
                          "=other-editor.desktop;\ntext/plain=gedit.desktop\n"));
    }

private slots:
    void init() {
        QDir(DataHome()).removeRecursively();
        QDir(ConfigHome()).removeRecursively();
        prompts.shown.clear();
    }

    void theFoldersAreThePrivateHome() {
        QVERIFY(registry.DataHome() == QString::fromLocal8Bit(qgetenv("XDG_DATA_HOME")));
        QVERIFY(registry.ConfigHome() == QString::fromLocal8Bit(qgetenv("XDG_CONFIG_HOME")));
    }

    void settingMakesTheStateGoFromNoneToThisProgram() {
        CRegisterFileTypeDialog dialog(registry, kExtension, prompts);
        dialog.show();
        QCOMPARE(dialog.windowTitle(), QStringLiteral("ファイルの関連付け"));
        QCOMPARE(registry.GetState(), 0);
        QCOMPARE(dialog.StatusLabel()->text(), QStringLiteral("関連付けされていません。"));
        QTest::mouseClick(dialog.SetButton(), Qt::LeftButton);
        QCOMPARE(prompts.Texts(),
                 QStringList{QStringLiteral("ファイルの関連付けが完了しました。")});
        QCOMPARE(prompts.shown.first().icon, IUserPrompts::Icon::Information);
        QCOMPARE(registry.GetState(), 1);
        QCOMPARE(dialog.StatusLabel()->text(), QStringLiteral("既に関連付けされています。"));

        CMimeAppsList entry;
        QVERIFY(entry.Load(registry.DesktopEntryPath()));
        QCOMPARE(entry.Value("Desktop Entry", "Exec"),
                 QStringLiteral("\"/opt/Tesselaphon Editor/bin/tsq\" %f"));
        QVERIFY(entry.Value("Desktop Entry", "MimeType").contains(CFileTypeRegistry::kMimeType));
        const QString package = ReadAll(registry.MimePackagePath());
        QVERIFY(package.contains("<glob pattern=\"*.tqp\"/>"));
        QVERIFY(package.contains("<comment>" + kDescription + "</comment>"));
        QVERIFY(package.contains(CFileTypeRegistry::kIconName));
    }

    // The desktop reads its MIME database, not the package file: setting and removing the
    // association must rebuild it, or a double-click keeps the old meaning.
    void settingAndRemovingRebuildTheMimeDatabase() {
        if (QStandardPaths::findExecutable(QStringLiteral("update-mime-database")).isEmpty())
            QSKIP("update-mime-database is not installed");
        const QString typeFile = DataHome() + "/mime/" + CFileTypeRegistry::kMimeType + ".xml";
        CRegisterFileTypeDialog dialog(registry, kExtension, prompts);
        dialog.show();
        QTest::mouseClick(dialog.SetButton(), Qt::LeftButton);
        QVERIFY(QFileInfo::exists(DataHome() + "/mime/mime.cache"));
        QVERIFY(ReadAll(typeFile).contains("*.tqp"));
        QVERIFY(ReadAll(DataHome() + "/mime/globs2").contains("*.tqp"));
        QTest::mouseClick(dialog.RemoveButton(), Qt::LeftButton);
        QCOMPARE(registry.GetState(), 0);
        QVERIFY(!ReadAll(DataHome() + "/mime/globs2").contains("*.tqp"));
    }

    void aPlainProgramPathIsNotQuotedAndLetterCaseDoesNotMatter() {
        const CFileTypeRegistry plain(QStringLiteral("/usr/bin/tsq"), kExtension, kDescription, -1);
        QVERIFY(plain.Register());
        QCOMPARE(plain.Command(), QStringLiteral("/usr/bin/tsq %f"));
        QVERIFY(!ReadAll(plain.MimePackagePath()).contains("<icon"));
        const CFileTypeRegistry upper(QStringLiteral("/USR/BIN/TSQ"), kExtension, {}, -1);
        QCOMPARE(upper.GetState(), 1);
        const CFileTypeRegistry other(QStringLiteral("/usr/local/bin/tsq"), kExtension, {}, -1);
        QCOMPARE(other.GetState(), -1);
    }

    void anotherProgramsAssociationIsReplacedBySet() {
        AssociateOtherProgram("[Added Associations]\nimage/png=viewer.desktop;\n\n");
        CRegisterFileTypeDialog dialog(registry, kExtension, prompts);
        QCOMPARE(registry.GetState(), -1);
        QCOMPARE(dialog.StatusLabel()->text(),
                 QStringLiteral("他のアプリケーションに関連付けされています。"));
        QTest::mouseClick(dialog.SetButton(), Qt::LeftButton);
        QCOMPARE(registry.GetState(), 1);
        QCOMPARE(dialog.StatusLabel()->text(), QStringLiteral("既に関連付けされています。"));
        CMimeAppsList list;
        QVERIFY(list.Load(registry.MimeAppsPath()));
        QCOMPARE(list.Value("Default Applications", CFileTypeRegistry::kMimeType),
                 QString::fromLatin1(CFileTypeRegistry::kDesktopId));
        // What belongs to others stays.
        QCOMPARE(list.Value("Default Applications", "text/plain"), QStringLiteral("gedit.desktop"));
        QCOMPARE(list.Value("Added Associations", "image/png"), QStringLiteral("viewer.desktop;"));
        QVERIFY(QFileInfo::exists(DataHome() + "/applications/other-editor.desktop"));
    }

    void aDefaultNamingNoEntryCountsAsAnotherProgram() {
        QVERIFY(Write(registry.MimeAppsPath(),
                      "[Default Applications]\n" +
                          QString::fromLatin1(CFileTypeRegistry::kMimeType) + "=gone.desktop\n"));
        QCOMPARE(registry.GetState(), -1);
    }

    void removingDropsTheAssociationAndItsFiles() {
        QVERIFY(registry.Register());
        CRegisterFileTypeDialog dialog(registry, kExtension, prompts);
        QTest::mouseClick(dialog.RemoveButton(), Qt::LeftButton);
        QCOMPARE(prompts.Texts(),
                 QStringList{QStringLiteral("ファイルの関連付けの解除が完了しました。")});
        QCOMPARE(registry.GetState(), 0);
        QCOMPARE(dialog.StatusLabel()->text(), QStringLiteral("関連付けされていません。"));
        QVERIFY(!QFileInfo::exists(registry.DesktopEntryPath()));
        QVERIFY(!QFileInfo::exists(registry.MimePackagePath()));
    }

    void removingWhenNothingIsAssociatedIsRefused() {
        CRegisterFileTypeDialog dialog(registry, kExtension, prompts);
        QTest::mouseClick(dialog.RemoveButton(), Qt::LeftButton);
        QCOMPARE(prompts.Texts(), QStringList{kDenied});
        QCOMPARE(prompts.shown.first().icon, IUserPrompts::Icon::Error);
    }

    void aFolderThatCannotBeMadeShowsAccessDenied() {
        // A plain file where the applications folder belongs stops every write there.
        QVERIFY(Write(DataHome() + "/applications", "x"));
        CRegisterFileTypeDialog dialog(registry, kExtension, prompts);
        QTest::mouseClick(dialog.SetButton(), Qt::LeftButton);
        QCOMPARE(prompts.Texts(), QStringList{kDenied});
        QCOMPARE(registry.GetState(), 0);
        QCOMPARE(dialog.StatusLabel()->text(), QStringLiteral("関連付けされていません。"));
    }
};

std::unique_ptr<QObject> MakeRegisterFileTypeTest() {
    return std::make_unique<RegisterFileTypeTest>();
}

#include "RegisterFileTypeTest.moc"
