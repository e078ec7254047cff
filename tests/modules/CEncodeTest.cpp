// Which encoder the bridge loads and chooses: the modules found in the program's folder or
// the gogo installer's stored path, the stored choice and its fallback, the stored bit rate.

#include "ModuleTestSupport.h"

#include "audio/CEncode.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class EncoderChoice : public ::testing::Test {
protected:
    // A folder holding only the named modules of the build.
    QString FolderWith(const QStringList& modules) {
        const QString folder = dir.filePath(QStringLiteral("modules%1").arg(++folders));
        QDir().mkpath(folder);
        for (const QString& m : modules)
            QFile::link(QDir(ModuleDirectory()).filePath(m), QDir(folder).filePath(m));
        return folder;
    }
    QSettings& Stored(const QVariant& encoder, const QVariant& bitRate = {}) {
        settings.clear();
        if (encoder.isValid())
            settings.setValue(QStringLiteral("Encoder/Encoder"), encoder);
        if (bitRate.isValid())
            settings.setValue(QStringLiteral("Encoder/BitRate"), bitRate);
        return settings;
    }

    QTemporaryDir dir;
    QSettings settings{dir.filePath(QStringLiteral("settings.ini")), QSettings::IniFormat};
    int folders = 0;
};

const QString kGogo = QString::fromLatin1(CEncode::kGogoModule);
const QString kLame = QString::fromLatin1(CEncode::kLameModule);

} // namespace

TEST_F(EncoderChoice, AStoredChoiceOfAMissingEncoderFallsBackToTheFirstLoaded) {
    struct Case {
        const char* what;
        QStringList modules;
        QVariant stored;
        int expected;
    };
    const Case cases[] = {
        {"only lame_enc, gogo stored", {kLame}, 1, CEncode::kLame},
        {"only gogo, lame_enc stored", {kGogo}, 2, CEncode::kGogo},
        {"both, lame_enc stored", {kGogo, kLame}, 2, CEncode::kLame},
        {"both, gogo stored", {kGogo, kLame}, 1, CEncode::kGogo},
        {"both, nothing stored", {kGogo, kLame}, {}, CEncode::kGogo},
        {"both, an unknown value stored", {kGogo, kLame}, 7, CEncode::kGogo},
        {"both, text stored", {kGogo, kLame}, QStringLiteral("lame"), CEncode::kGogo},
        {"none, gogo stored", {}, 1, CEncode::kNone},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CEncode encode(FolderWith(c.modules), Stored(c.stored), {});
        EXPECT_EQ(encode.EncoderChoice(), c.expected);
        EXPECT_EQ(encode.IsAvailable(), c.expected != CEncode::kNone);
        EXPECT_EQ(encode.IsGogoLoaded(), c.modules.contains(kGogo));
        EXPECT_EQ(encode.IsLameLoaded(), c.modules.contains(kLame));
    }
}

TEST_F(EncoderChoice, WithoutModulesNothingIsEncodedAndNoFileMade) {
    CEncode encode(FolderWith({}), Stored(2), {});
    const WAVE_FORMAT f = MakeFormat(1, 8000, 16, false);
    const QString wav =
        WriteFile(dir.filePath(QStringLiteral("a.wav")), PlainWav(f, SineSamples(f, 800, 440)));
    EXPECT_FALSE(encode.Encode(wav, {}));
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("a.mp3"))));
}

TEST_F(EncoderChoice, GogoLoadsFromTheInstallersStoredPathWhenNotBesideTheProgram) {
    const QString moduleFile = QDir(ModuleDirectory()).filePath(kGogo);
    for (const QString& installPath : {moduleFile, ModuleDirectory()}) {
        SCOPED_TRACE(installPath.toStdString());
        CEncode encode(FolderWith({kLame}), Stored(1), installPath);
        EXPECT_TRUE(encode.IsGogoLoaded());
        EXPECT_EQ(encode.EncoderChoice(), CEncode::kGogo);
    }
    CEncode missing(FolderWith({}), Stored(1), dir.filePath(QStringLiteral("nowhere/gogo.so")));
    EXPECT_FALSE(missing.IsGogoLoaded());
    // A library that is not the encoder is no encoder.
    CEncode wrong(FolderWith({}), Stored(1),
                  QDir(ModuleDirectory()).filePath(QStringLiteral("libvbmp3.so")));
    EXPECT_FALSE(wrong.IsGogoLoaded());
}

TEST_F(EncoderChoice, TheInstallersPathIsReadFromItsOwnSettingsAndOnlyWhenItIsText) {
    QSettings installer(QStringLiteral("MarineCat"), QStringLiteral("GOGO_DLL"));
    const QString path = QDir(ModuleDirectory()).filePath(kGogo);
    installer.setValue(QStringLiteral("INSTPATH"), path);
    installer.sync();
    EXPECT_EQ(CEncode::StoredGogoPath(), path);
    installer.setValue(QStringLiteral("INSTPATH"), QString(300, QLatin1Char('a')));
    installer.sync();
    EXPECT_TRUE(CEncode::StoredGogoPath().isEmpty());
    installer.setValue(QStringLiteral("INSTPATH"), QByteArray("\x01\x02", 2));
    installer.sync();
    EXPECT_TRUE(CEncode::StoredGogoPath().isEmpty());
    installer.remove(QStringLiteral("INSTPATH"));
    installer.sync();
    EXPECT_TRUE(CEncode::StoredGogoPath().isEmpty());
}

TEST_F(EncoderChoice, TheStoredBitRateIsUsedAndAnImpossibleOneReadsAs128) {
    const QString modules = FolderWith({kLame});
    EXPECT_EQ(CEncode(modules, Stored(2, 320), {}).BitRate(), 320);
    EXPECT_EQ(CEncode(modules, Stored(2), {}).BitRate(), 128);
    EXPECT_EQ(CEncode(modules, Stored(2, 0), {}).BitRate(), 128);
    EXPECT_EQ(CEncode(modules, Stored(2, 99999), {}).BitRate(), 128);
    EXPECT_EQ(CEncode(modules, Stored(2, QStringLiteral("fast")), {}).BitRate(), 128);
}

TEST_F(EncoderChoice, SavingTheChoiceStoresBothValues) {
    CEncode encode(FolderWith({kGogo, kLame}), Stored({}), {});
    encode.SaveChoice(CEncode::kLame, 192);
    EXPECT_EQ(settings.value(QStringLiteral("Encoder/Encoder")).toInt(), 2);
    EXPECT_EQ(settings.value(QStringLiteral("Encoder/BitRate")).toInt(), 192);
    CEncode again(FolderWith({kGogo, kLame}), settings, {});
    EXPECT_EQ(again.EncoderChoice(), CEncode::kLame);
    EXPECT_EQ(again.BitRate(), 192);
}

TEST(EncodeOutputPath, TheMp3LiesBesideTheWavWithItsExtensionReplaced) {
    EXPECT_EQ(CEncode::OutputPath(QStringLiteral("/a/song.wav")), QStringLiteral("/a/song.mp3"));
    EXPECT_EQ(CEncode::OutputPath(QStringLiteral("/a/song.x.WAV")),
              QStringLiteral("/a/song.x.mp3"));
    EXPECT_EQ(CEncode::OutputPath(QStringLiteral("/a.b/song")), QStringLiteral("/a.b/song.mp3"));
}
