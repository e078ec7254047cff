// Private temporary folders under TMPDIR.

#include "audio/CTempFolder.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// Points TMPDIR at a fresh folder for one test.
class CTempFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_before = qgetenv("TMPDIR");
        qputenv("TMPDIR", m_root.path().toUtf8());
    }
    void TearDown() override { qputenv("TMPDIR", m_before); }
    QString Root(const QString& name = {}) const {
        return name.isEmpty() ? m_root.path() : m_root.filePath(name);
    }

private:
    QTemporaryDir m_root;
    QByteArray m_before;
};

} // namespace

TEST_F(CTempFolderTest, CreatesItsFolderOnceAndRemovesItWhenEmpty) {
    {
        CTempFolder folder;
        EXPECT_TRUE(folder.GetPath().isEmpty());
        ASSERT_TRUE(folder.Create("tsq_temp_audio"));
        EXPECT_EQ(folder.GetPath(), Root("tsq_temp_audio"));
        EXPECT_TRUE(QFileInfo(Root("tsq_temp_audio")).isDir());
        EXPECT_FALSE(folder.Create("tsq_temp_projects"));
        EXPECT_EQ(folder.GetPath(), Root("tsq_temp_audio"));
        EXPECT_FALSE(QFileInfo::exists(Root("tsq_temp_projects")));
    }
    EXPECT_FALSE(QFileInfo::exists(Root("tsq_temp_audio")));
}

TEST_F(CTempFolderTest, AnExistingFolderIsFineAndAPlainFileIsNot) {
    QDir(Root()).mkdir("tsq_temp_projects");
    {
        CTempFolder folder;
        EXPECT_TRUE(folder.Create("tsq_temp_projects"));
    }
    QFile plain(Root("tsq_temp_audio"));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    {
        CTempFolder folder;
        EXPECT_FALSE(folder.Create("tsq_temp_audio"));
        EXPECT_EQ(folder.GetPath(), Root("tsq_temp_audio"));
    }
    EXPECT_TRUE(QFileInfo(Root("tsq_temp_audio")).isFile()) << "the file is left alone";
}

TEST_F(CTempFolderTest, HandsOutUnclaimedNamesFromThePrefix) {
    CTempFolder folder;
    EXPECT_TRUE(folder.GetTempFileName("tsq").isEmpty()) << "no folder yet";
    ASSERT_TRUE(folder.Create("tsq_temp_projects"));
    const QRegularExpression audio("^aud[0-9A-F]+\\.tmp$");
    const QRegularExpression project("^tsq[0-9A-F]+\\.tmp$");
    QStringList names;
    for (int i = 0; i < 20; ++i) {
        const QString name = folder.GetTempFileName(i % 2 ? "audio.wav" : "tsq");
        ASSERT_FALSE(name.isEmpty());
        const QFileInfo info(name);
        EXPECT_EQ(info.absolutePath(), folder.GetPath());
        EXPECT_TRUE((i % 2 ? audio : project).match(info.fileName()).hasMatch())
            << info.fileName().toStdString();
        EXPECT_FALSE(info.exists()) << "the claimed file is deleted again";
        QFile keep(name); // the caller creates it; the next name must differ
        ASSERT_TRUE(keep.open(QIODevice::WriteOnly));
        names << name;
    }
    names.removeDuplicates();
    EXPECT_EQ(names.size(), 20);
    EXPECT_TRUE(folder.GetTempFileName("a").contains(QRegularExpression("/a[0-9A-F]+\\.tmp$")));
    for (const QString& name : names) {
        QFile::remove(name);
    }
}

TEST_F(CTempFolderTest, AFolderWithAFileLeftInItStays) {
    QString left;
    {
        CTempFolder folder;
        ASSERT_TRUE(folder.Create("tsq_temp_audio"));
        left = folder.GetTempFileName("audio.wav");
        QFile file(left);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    EXPECT_TRUE(QFileInfo(left).isFile());
    EXPECT_TRUE(QFileInfo(Root("tsq_temp_audio")).isDir());
}
