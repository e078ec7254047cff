// The decoder module behind the audio file reader: MP3 files and the WAV files the strict
// reader refuses become PCM samples of the width the PCM voice plays, through a temporary
// folder that is emptied and removed again.

#include "../audio/WavBuilder.h"
#include "CaptureSupport.h"
#include "ModuleTestSupport.h"

#include "audio/CAudioFile.h"
#include "audio/CEncode.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class DecoderRoute : public ::testing::Test {
protected:
    void SetUp() override {
        savedTmp = qgetenv("TMPDIR");
        qputenv("TMPDIR", tmp.path().toUtf8());
    }
    void TearDown() override { qputenv("TMPDIR", savedTmp); }

    QString TempAudioFolder() const { return tmp.filePath(QStringLiteral("tsq_temp_audio")); }
    QString File(const QString& name) const { return dir.filePath(name); }

    // A 440 Hz sine encoded to MP3 by the LAME module.
    QString MakeMp3(const WAVE_FORMAT& f, int frames) {
        const QString wav =
            WriteFile(File(QStringLiteral("sine.wav")), PlainWav(f, SineSamples(f, frames, 440.0)));
        QSettings settings(File(QStringLiteral("s.ini")), QSettings::IniFormat);
        settings.setValue(QStringLiteral("Encoder/Encoder"), int(CEncode::kLame));
        CEncode encode(ModuleDirectory(), settings, {});
        const Result r = encode.Encode(wav, {});
        EXPECT_TRUE(r) << r.message;
        return CEncode::OutputPath(wav);
    }

    QTemporaryDir dir;
    QTemporaryDir tmp;
    QByteArray savedTmp;
};

QByteArray Bytes(const std::vector<uint8_t>& v) {
    return QByteArray(reinterpret_cast<const char*>(v.data()), qsizetype(v.size()));
}

// A chunk of the kind sound programs write: "LIST" with an "INFO" list, "smpl" with a loop,
// "fact" with the frame count and "PEAK" (and "fact") with one peak per channel.
void AddChunk(WavBuilder& b, const char* id, int channels) {
    const std::string kind = id != nullptr ? id : "";
    if (kind == "LIST") {
        b.Chunk("LIST", QByteArray("INFOISFT\x06\0\0\0tsq\0\0\0", 18));
    } else if (kind == "smpl") {
        b.Smpl(10, 2000);
    } else if (kind == "fact") {
        b.Chunk("fact", QByteArray("\xB8\x0B\0\0", 4));
    } else if (kind == "PEAK") {
        b.Chunk("fact", QByteArray("\xB8\x0B\0\0", 4));
        QByteArray peak("\x01\0\0\0\0\0\0\0", 8);
        for (int c = 0; c < channels; ++c)
            peak.append(QByteArray("\x33\x33\x33\x3F\x0A\0\0\0", 8)); // 0.7 at frame 10
        b.Chunk("PEAK", peak);
    }
}

} // namespace

TEST_F(DecoderRoute, AnMp3FileBecomes16BitSamplesOfTheSameSound) {
    const WAVE_FORMAT f = MakeFormat(2, 44100, 16, false);
    const QString mp3 = MakeMp3(f, 44100 / 2);
    CAudioFile reader(ModuleDirectory());
    ASSERT_TRUE(reader.IsMp3Available());
    WAVE_FORMAT format;
    std::vector<uint8_t> data;
    ASSERT_TRUE(reader.Load(mp3, format, data));
    EXPECT_EQ(format.formatTag, WAVE_FORMAT::kPcm);
    EXPECT_EQ(format.channels, 2);
    EXPECT_EQ(format.samplesPerSec, 44100u);
    EXPECT_EQ(format.bitsPerSample, 16);
    EXPECT_EQ(format.blockAlign, 4);
    EXPECT_NEAR(double(data.size() / 4), 44100 / 2.0, 100);
    EXPECT_NEAR(ZeroCrossingHz(FirstChannel(format, data), 44100), 440.0, 2.0);
    EXPECT_FALSE(QFileInfo::exists(TempAudioFolder()));
}

TEST_F(DecoderRoute, WavFilesTheStrictReaderRefusesKeepTheirSamplesAndWidth) {
    struct Case {
        const char* what;
        WAVE_FORMAT format;
        bool extensible;
        const char* chunk;
    };
    const Case cases[] = {
        {"16-bit stereo with LIST", MakeFormat(2, 44100, 16, false), false, "LIST"},
        {"8-bit mono with smpl", MakeFormat(1, 11025, 8, false), false, "smpl"},
        {"24-bit stereo with LIST", MakeFormat(2, 48000, 24, false), false, "LIST"},
        {"32-bit float mono with fact and PEAK", MakeFormat(1, 44100, 32, true), false, "PEAK"},
        {"64-bit float stereo with fact", MakeFormat(2, 22050, 64, true), false, "fact"},
        {"extensible 24-bit stereo", MakeFormat(2, 44100, 24, false), true, nullptr},
        {"extensible 32-bit float stereo with LIST", MakeFormat(2, 44100, 32, true), true, "LIST"},
    };
    CAudioFile reader(ModuleDirectory());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::vector<uint8_t> samples = SineSamples(c.format, 3000, 441.0, 0.7);
        WavBuilder b;
        if (c.extensible)
            b.Chunk("fmt ", ExtensibleFmt(c.format));
        else
            b.Fmt(c.format, 16);
        AddChunk(b, c.chunk, c.format.channels);
        b.Data(samples);
        const QString path = b.Save(File(QStringLiteral("extra.wav")));
        WAVE_FORMAT format;
        std::vector<uint8_t> data;
        if (c.chunk != nullptr) {
            EXPECT_FALSE(CAudioFile::ReadWave(path, format, data));
        }
        const Result r = reader.Load(path, format, data);
        ASSERT_TRUE(r) << r.message;
        // An extensible record directly before "data" is the strict reader's, kept as stored.
        const bool strict = c.extensible && c.chunk == nullptr;
        EXPECT_EQ(format.formatTag, strict ? 0xFFFE : c.format.formatTag);
        EXPECT_EQ(format.channels, c.format.channels);
        EXPECT_EQ(format.samplesPerSec, c.format.samplesPerSec);
        EXPECT_EQ(format.bitsPerSample, c.format.bitsPerSample);
        EXPECT_EQ(format.blockAlign, c.format.blockAlign);
        EXPECT_EQ(Bytes(data), Bytes(samples));
        EXPECT_FALSE(QFileInfo::exists(TempAudioFolder()));
    }
}

TEST_F(DecoderRoute, AWavWithAChunkLibsndfileFindsMalformedStillKeepsItsSamples) {
    struct Case {
        const char* what;
        WAVE_FORMAT format;
        uint16_t expectedTag;
    };
    const Case cases[] = {
        {"16-bit stereo", MakeFormat(2, 44100, 16, false), WAVE_FORMAT::kPcm},
        {"32-bit float mono", MakeFormat(1, 44100, 32, true), WAVE_FORMAT::kFloat},
        {"8-bit mono", MakeFormat(1, 8000, 8, false), WAVE_FORMAT::kPcm},
    };
    CAudioFile reader(ModuleDirectory());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::vector<uint8_t> samples = SineSamples(c.format, 1001, 300.0);
        // A "PEAK" chunk too short for its own layout, before and after "fmt ".
        const QString path = WavBuilder()
                                 .Chunk("PEAK", QByteArray(3, '\x01'))
                                 .Fmt(c.format, 16)
                                 .Chunk("PEAK", QByteArray(12, '\x01'))
                                 .Data(samples)
                                 .Save(File(QStringLiteral("odd.wav")));
        WAVE_FORMAT format;
        std::vector<uint8_t> data;
        const Result r = reader.Load(path, format, data);
        ASSERT_TRUE(r) << r.message;
        EXPECT_EQ(format.formatTag, c.expectedTag);
        EXPECT_EQ(format.bitsPerSample, c.format.bitsPerSample);
        EXPECT_EQ(Bytes(data), Bytes(samples));
    }

    // 32-bit integer samples are no width the PCM voice plays: they arrive as float.
    const WAVE_FORMAT int32 = MakeFormat(2, 22050, 32, false);
    const std::vector<uint8_t> samples = SineSamples(int32, 2000, 300.0);
    const QString path = WavBuilder()
                             .Fmt(int32, 16)
                             .Chunk("PEAK", QByteArray(5, '\x02'))
                             .Data(samples)
                             .Save(File(QStringLiteral("int32.wav")));
    WAVE_FORMAT format;
    std::vector<uint8_t> data;
    ASSERT_TRUE(reader.Load(path, format, data));
    EXPECT_EQ(format.formatTag, WAVE_FORMAT::kFloat);
    EXPECT_EQ(format.bitsPerSample, 32);
    const std::vector<double> expected = FirstChannel(int32, samples);
    const std::vector<double> decoded = FirstChannel(format, data);
    ASSERT_EQ(decoded.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i)
        ASSERT_NEAR(decoded[i], expected[i], 1e-6) << "frame " << i;
}

TEST_F(DecoderRoute, FlacOggAndAiffFilesBecomeSamplesOfAWidthThePcmVoicePlays) {
    struct Case {
        const char* file;
        uint16_t tag;
        uint16_t channels;
        uint16_t bits;
    };
    const Case cases[] = {
        {"short.flac", WAVE_FORMAT::kPcm, 1, 16},
        {"short24.aiff", WAVE_FORMAT::kPcm, 2, 24},
        {"short.ogg", WAVE_FORMAT::kPcm, 2, 16},
        {"float-peak.wav", WAVE_FORMAT::kFloat, 1, 32},
    };
    CAudioFile reader(ModuleDirectory());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const QString path = QStringLiteral(TSQ_TEST_DATA "/corpus/SoundDecodeFuzz/") + c.file;
        WAVE_FORMAT format;
        std::vector<uint8_t> data;
        const Result r = reader.Load(path, format, data);
        ASSERT_TRUE(r) << r.message;
        EXPECT_EQ(format.formatTag, c.tag);
        EXPECT_EQ(format.channels, c.channels);
        EXPECT_EQ(format.bitsPerSample, c.bits);
        EXPECT_EQ(format.samplesPerSec, 8000u);
        EXPECT_EQ(format.blockAlign, c.channels * c.bits / 8);
        EXPECT_NEAR(double(data.size() / format.blockAlign), 400, 2);
    }
}

TEST_F(DecoderRoute, AFailedDecodingLeavesNoTemporaryFileOrFolder) {
    CAudioFile reader(ModuleDirectory());
    const QString junk = WriteFile(File(QStringLiteral("junk.mp3")), QByteArray(5000, '\x37'));
    WAVE_FORMAT format;
    std::vector<uint8_t> data;
    EXPECT_FALSE(reader.Load(junk, format, data));
    EXPECT_FALSE(reader.Load(File(QStringLiteral("missing.mp3")), format, data));
    EXPECT_TRUE(data.empty());
    EXPECT_FALSE(QFileInfo::exists(TempAudioFolder()));
}

TEST_F(DecoderRoute, TheTemporaryFolderStaysOnlyForAFileThatIsNotItsOwn) {
    QDir().mkpath(TempAudioFolder());
    const QString other = WriteFile(TempAudioFolder() + QStringLiteral("/other.txt"), "x");
    const WAVE_FORMAT f = MakeFormat(1, 8000, 16, false);
    const QString path = WavBuilder()
                             .Fmt(f, 16)
                             .Chunk("LIST", QByteArray(4, 'a'))
                             .Data(SineSamples(f, 800, 440))
                             .Save(File(QStringLiteral("list.wav")));
    CAudioFile reader(ModuleDirectory());
    WAVE_FORMAT format;
    std::vector<uint8_t> data;
    ASSERT_TRUE(reader.Load(path, format, data));
    EXPECT_EQ(QDir(TempAudioFolder()).entryList(QDir::Files), QStringList{"other.txt"});
}

TEST_F(DecoderRoute, WithoutTheModuleOnlyPlainWavIsReadAndNoFolderMade) {
    const QString mp3 = MakeMp3(MakeFormat(1, 22050, 16, false), 2205);
    const QString empty = dir.filePath(QStringLiteral("no-modules"));
    QDir().mkpath(empty);
    CAudioFile reader(empty);
    EXPECT_FALSE(reader.IsMp3Available());
    WAVE_FORMAT format;
    std::vector<uint8_t> data;
    EXPECT_FALSE(reader.Load(mp3, format, data));
    EXPECT_FALSE(QFileInfo::exists(TempAudioFolder()));
    EXPECT_TRUE(reader.Load(File(QStringLiteral("sine.wav")), format, data));
}

TEST_F(DecoderRoute, TheAuditionPlaysOnlyWhatTheModuleOpens) {
    const QString mp3 = MakeMp3(MakeFormat(1, 22050, 16, false), 2205);
    CAudioFile reader(ModuleDirectory());
    EXPECT_TRUE(reader.Audition(mp3));
    reader.StopAudition();
    EXPECT_FALSE(reader.Audition(File(QStringLiteral("missing.mp3"))));
    CAudioFile without(dir.filePath(QStringLiteral("nowhere")));
    EXPECT_FALSE(without.Audition(mp3));
}

TEST_F(DecoderRoute, TheAuditionSoundsTheFileAtItsOwnPitch) {
    const QString mp3 = MakeMp3(MakeFormat(1, 44100, 16, false), 44100);
    CaptureDevice capture;
    CAudioFile reader(ModuleDirectory());
    ASSERT_TRUE(reader.Audition(mp3));
    ASSERT_TRUE(capture.WaitForFrames(22050));
    reader.StopAudition();
    WAVE_FORMAT format;
    const std::vector<uint8_t> heard = capture.Data(&format);
    EXPECT_EQ(format.samplesPerSec, 44100u);
    EXPECT_NEAR(ZeroCrossingHz(FirstChannel(format, heard), format.samplesPerSec), 440.0, 2.0);
}
