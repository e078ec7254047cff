// The strict WAV reader of PCM tracks.

#include "WavBuilder.h"

#include "audio/CAudioFile.h"

#include <QBuffer>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

Result Read(const QByteArray& bytes, WAVE_FORMAT& format, std::vector<uint8_t>& data) {
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    return CAudioFile::ReadWave(buffer, format, data);
}

const WAVE_FORMAT kStereo16 = WAVE_FORMAT::Pcm(2, 44100, 16);

} // namespace

TEST(CAudioFile, ReadsTheFormatRecordAndTheDataAsStored) {
    WAVE_FORMAT withExtra = kStereo16;
    withExtra.extraSize = 22;
    struct Case {
        const char* what;
        int fmtSize;
        uint16_t extraSize;
    };
    const Case cases[] = {
        {"a 16-byte fmt chunk leaves the extra size 0", 16, 0},
        {"an 18-byte fmt chunk keeps it", 18, 22},
        {"an extensible 40-byte fmt chunk is stepped over whole", 40, 22},
        {"an odd fmt chunk with its pad byte", 19, 22},
    };
    const std::vector<uint8_t> samples = {1, 2, 3, 4, 5, 6, 7, 8};
    for (const Case& c : cases) {
        WAVE_FORMAT format;
        std::vector<uint8_t> data;
        const Result r =
            Read(WavBuilder().Fmt(withExtra, c.fmtSize).Data(samples).Bytes(), format, data);
        ASSERT_TRUE(r) << c.what << ": " << r.message;
        EXPECT_EQ(format.channels, 2) << c.what;
        EXPECT_EQ(format.samplesPerSec, 44100u) << c.what;
        EXPECT_EQ(format.avgBytesPerSec, 176400u) << c.what;
        EXPECT_EQ(format.blockAlign, 4) << c.what;
        EXPECT_EQ(format.bitsPerSample, 16) << c.what;
        EXPECT_EQ(format.extraSize, c.extraSize) << c.what;
        EXPECT_EQ(data, samples) << c.what;
    }
}

TEST(CAudioFile, RefusesEverythingButFmtDirectlyFollowedByData) {
    WAVE_FORMAT noChannels = kStereo16;
    noChannels.channels = 0;
    WAVE_FORMAT noAlign = kStereo16;
    noAlign.blockAlign = 0;
    const std::vector<uint8_t> samples(16, 9);
    struct Case {
        const char* what;
        QByteArray bytes;
    };
    const Case cases[] = {
        {"a LIST chunk before data",
         WavBuilder().Fmt(kStereo16).Chunk("LIST", "info").Data(samples).Bytes()},
        {"a LIST chunk before fmt",
         WavBuilder().Chunk("LIST", "info").Fmt(kStereo16).Data(samples).Bytes()},
        {"data before fmt", WavBuilder().Data(samples).Fmt(kStereo16).Bytes()},
        {"no data", WavBuilder().Fmt(kStereo16).Bytes()},
        {"data running past the end",
         WavBuilder().Fmt(kStereo16).Header("data", 1000, QByteArray(16, 1)).Bytes()},
        {"data claiming 4 GB", WavBuilder().Fmt(kStereo16).Header("data", 0xFFFFFFFFu).Bytes()},
        {"fmt running past the end", WavBuilder().Header("fmt ", 0x80000000u, "abc").Bytes()},
        {"no channels", WavBuilder().Fmt(noChannels).Data(samples).Bytes()},
        {"no block alignment", WavBuilder().Fmt(noAlign).Data(samples).Bytes()},
        {"not RIFF", QByteArray("RIFF\x04\0\0\0AVI ", 12)},
        {"truncated header", QByteArray("RIFF", 4)},
        {"an MP3 frame", QByteArray("\xFF\xFB\x90\x64\0\0\0\0\0\0\0\0", 12)},
    };
    for (const Case& c : cases) {
        WAVE_FORMAT format = kStereo16;
        std::vector<uint8_t> data = {1, 2, 3};
        const Result r = Read(c.bytes, format, data);
        EXPECT_FALSE(r) << c.what;
        EXPECT_FALSE(r.message.empty()) << c.what;
        EXPECT_EQ(format.channels, 0) << c.what << ": the format is left empty";
        EXPECT_TRUE(data.empty()) << c.what;
    }
}

TEST(CAudioFile, LoadReadsWavFilesAndNothingElseWithoutADecoder) {
    QTemporaryDir dir;
    const QString wav = WavBuilder().Fmt(kStereo16).Data({1, 2, 3, 4}).Save(dir.filePath("a.wav"));
    const QString mp3 = dir.filePath("a.mp3");
    {
        QFile f(mp3);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("ID3\x03\0\0\0\0\0\0\xFF\xFB\x90\x64", 14);
    }
    const QString tempBefore = qEnvironmentVariable("TMPDIR");
    qputenv("TMPDIR", dir.path().toUtf8());

    CAudioFile file;
    EXPECT_FALSE(file.IsMp3Available());
    WAVE_FORMAT format;
    std::vector<uint8_t> data;
    EXPECT_TRUE(file.Load(wav, format, data));
    EXPECT_EQ(data, (std::vector<uint8_t>{1, 2, 3, 4}));
    EXPECT_FALSE(file.Load(mp3, format, data));
    EXPECT_TRUE(data.empty());
    EXPECT_FALSE(file.Load(dir.filePath("missing.wav"), format, data));
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("tsq_temp_audio")))
        << "no temporary folder without a decoder";

    ISampleLoader& loader = file;
    EXPECT_TRUE(loader.LoadSample(wav.toStdString(), data, format));
    EXPECT_EQ(format.blockAlign, 4);
    EXPECT_FALSE(loader.LoadSample(mp3.toStdString(), data, format));
    EXPECT_TRUE(data.empty());
    EXPECT_EQ(format.samplesPerSec, 0u);
    qputenv("TMPDIR", tempBefore.toUtf8());
}
