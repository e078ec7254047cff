// Which file each capture stream writes: numbered siblings for streams that overlap, a fresh
// start once all have closed, and no file ever handed to two open streams, whichever
// threads open and close them.

#include "audio/internal/CCaptureNames.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <set>
#include <thread>
#include <vector>

namespace {

class CaptureNames : public ::testing::Test {
protected:
    std::string File(const char* name) const {
        return QFile::encodeName(dir.filePath(QString::fromLatin1(name))).toStdString();
    }
    static void Touch(const std::string& file) {
        QFile f(QFile::decodeName(file.c_str()));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("RIFF");
    }
    static bool Exists(const std::string& file) {
        return QFile::exists(QFile::decodeName(file.c_str()));
    }

    QTemporaryDir dir;
    CCaptureNames names;
};

} // namespace

TEST(CCaptureNames, TheNumberGoesBeforeTheExtensionOfTheFileName) {
    struct Case {
        const char* path;
        int number;
        const char* numbered;
    };
    const Case cases[] = {
        {"/tmp/cap.wav", 1, "/tmp/cap.wav"},     {"/tmp/cap.wav", 2, "/tmp/cap-2.wav"},
        {"/tmp/cap.wav", 12, "/tmp/cap-12.wav"}, {"/tmp/cap.test.wav", 2, "/tmp/cap.test-2.wav"},
        {"/tmp/cap", 3, "/tmp/cap-3"},           {"/tmp/a.b/cap", 2, "/tmp/a.b/cap-2"},
        {"/tmp/.cap", 2, "/tmp/.cap-2"},         {"/tmp/.cap.wav", 2, "/tmp/.cap-2.wav"},
        {"/tmp/cap.", 2, "/tmp/cap-2."},         {"cap.wav", 2, "cap-2.wav"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CCaptureNames::Numbered(c.path, c.number), c.numbered) << c.path;
    }
}

TEST_F(CaptureNames, OverlappingStreamsAreNumberedInTheOrderTheyOpened) {
    const std::string path = File("cap.wav");
    const std::string song = names.Claim(path);
    const std::string key = names.Claim(path);
    EXPECT_EQ(song, path);
    EXPECT_EQ(key, File("cap-2.wav"));
    // The first closing does not free its name while the second still records: a third
    // stream gets a number of its own rather than starting the recording over.
    names.Release(path, song);
    const std::string third = names.Claim(path);
    EXPECT_EQ(third, File("cap-3.wav"));
    names.Release(path, key);
    names.Release(path, third);
}

TEST_F(CaptureNames, AStreamAfterAllHaveClosedStartsOverAndDropsTheOldNumberedFiles) {
    const std::string path = File("cap.wav");
    const std::string first = names.Claim(path);
    const std::string second = names.Claim(path);
    const std::string third = names.Claim(path);
    for (const std::string& f : {first, second, third}) {
        Touch(f);
    }
    const std::string foreign = File("cap-4.wav"); // not written by the device
    Touch(foreign);
    names.Release(path, second);
    names.Release(path, first);
    names.Release(path, third);

    EXPECT_EQ(names.Claim(path), path);
    EXPECT_TRUE(Exists(path)) << "the stream opens it afresh itself";
    EXPECT_FALSE(Exists(second));
    EXPECT_FALSE(Exists(third));
    EXPECT_TRUE(Exists(foreign));
    EXPECT_EQ(names.Claim(path), second);
}

TEST_F(CaptureNames, AFileThatAnotherPathsStreamWritesIsNeitherReusedNorRemoved) {
    const std::string path = File("cap.wav");
    const std::string other = File("cap-2.wav");
    const std::string song = names.Claim(path);
    const std::string key = names.Claim(path);
    names.Release(path, song);
    names.Release(path, key);
    // The same file is now the first stream of another path.
    EXPECT_EQ(names.Claim(other), other);
    Touch(other);

    EXPECT_EQ(names.Claim(path), path);
    EXPECT_TRUE(Exists(other));
    EXPECT_EQ(names.Claim(path), File("cap-3.wav"));
}

TEST_F(CaptureNames, StreamsOpenedAndClosedOnManyThreadsNeverShareAFile) {
    const std::string path = File("cap.wav");
    std::mutex lock;
    std::set<std::string> held;
    bool shared = false;
    auto work = [&] {
        for (int i = 0; i < 300; ++i) {
            const std::string file = names.Claim(path);
            {
                std::lock_guard guard(lock);
                shared = shared || !held.insert(file).second;
            }
            std::this_thread::yield();
            {
                std::lock_guard guard(lock);
                held.erase(file);
            }
            names.Release(path, file);
        }
    };
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back(work);
    }
    for (std::thread& t : threads) {
        t.join();
    }
    EXPECT_FALSE(shared);
    EXPECT_EQ(names.Claim(path), path) << "every stream closed, so the count starts over";
}
