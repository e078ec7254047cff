// Encoding a built WAV file through each encoder module and decoding the MP3 file back
// through the decoder module: the length, the pitch, the loudness and the channels survive,
// whatever sample layout the build wrote.

#include "../audio/WavBuilder.h"
#include "ModuleTestSupport.h"

#include "audio/CAudioFile.h"
#include "audio/CEncode.h"
#include "audio/internal/CLameRoute.h"

#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>

namespace {

struct DECODED {
    WAVE_FORMAT format;
    std::vector<uint8_t> data;
    double seconds = 0;
};

class EncodeRoundTrip : public ::testing::Test {
protected:
    QString SettingsPath() const { return dir.filePath(QStringLiteral("settings.ini")); }

    // Encodes `wav` with the encoder `choice`; returns the outcome, fills the MP3 path.
    Result EncodeWith(int choice, const QString& wav, const CEncode::Watcher& watcher = {}) {
        QSettings settings(SettingsPath(), QSettings::IniFormat);
        settings.setValue(QStringLiteral("Encoder/Encoder"), choice);
        CEncode encode(ModuleDirectory(), settings, {});
        EXPECT_EQ(encode.EncoderChoice(), choice);
        return encode.Encode(wav, watcher);
    }

    static DECODED Decode(const QString& path) {
        DECODED d;
        CAudioFile reader(ModuleDirectory());
        EXPECT_TRUE(reader.IsMp3Available());
        const Result r = reader.Load(path, d.format, d.data);
        EXPECT_TRUE(r) << r.message;
        if (d.format.blockAlign != 0 && d.format.samplesPerSec != 0)
            d.seconds = double(d.data.size() / d.format.blockAlign) / d.format.samplesPerSec;
        return d;
    }

    QTemporaryDir dir;
};

struct LAYOUT {
    const char* what;
    int channels;
    uint32_t rate;
    int bits;
    bool isFloat;
};

const LAYOUT kLayouts[] = {
    {"8-bit mono", 1, 22050, 8, false},        {"16-bit stereo", 2, 44100, 16, false},
    {"24-bit mono", 1, 48000, 24, false},      {"32-bit integer stereo", 2, 44100, 32, false},
    {"32-bit float mono", 1, 44100, 32, true}, {"64-bit float stereo", 2, 32000, 64, true},
};

const char* RouteName(int choice) {
    return choice == CEncode::kGogo ? "gogo" : "lame_enc";
}

} // namespace

TEST_F(EncodeRoundTrip, EverySampleLayoutKeepsLengthPitchLoudnessAndChannels) {
    for (const int choice : {int(CEncode::kGogo), int(CEncode::kLame)}) {
        for (const LAYOUT& l : kLayouts) {
            SCOPED_TRACE(std::string(RouteName(choice)) + ", " + l.what);
            const WAVE_FORMAT f = MakeFormat(l.channels, l.rate, l.bits, l.isFloat);
            const QString wav = WriteFile(dir.filePath(QStringLiteral("song.wav")),
                                          PlainWav(f, SineSamples(f, int(l.rate), 440.0)));
            const Result r = EncodeWith(choice, wav);
            ASSERT_TRUE(r) << r.message;
            const QString mp3 = dir.filePath(QStringLiteral("song.mp3"));
            ASSERT_TRUE(QFileInfo(mp3).size() > 0);

            const DECODED d = Decode(mp3);
            EXPECT_EQ(d.format.formatTag, WAVE_FORMAT::kPcm);
            EXPECT_EQ(d.format.bitsPerSample, 16);
            EXPECT_EQ(d.format.channels, l.channels);
            EXPECT_EQ(d.format.samplesPerSec, l.rate);
            EXPECT_NEAR(d.seconds, 1.0, 0.03);
            const std::vector<double> left = FirstChannel(d.format, d.data);
            EXPECT_NEAR(ZeroCrossingHz(left, d.format.samplesPerSec), 440.0, 2.0);
            // A sine of amplitude 0.5 has an RMS of 0.354; noise from misread bytes is louder.
            EXPECT_NEAR(Rms(left), 0.354, 0.04);
        }
    }
}

TEST_F(EncodeRoundTrip, OtherChunksAndAnExtensibleRecordDoNotDisturbTheEncoding) {
    const WAVE_FORMAT f = MakeFormat(2, 48000, 24, false);
    const QString wav = WavBuilder()
                            .Chunk("LIST", QByteArray("INFOISFT\x04\0\0\0abc\0", 16))
                            .Chunk("fmt ", ExtensibleFmt(f))
                            .Chunk("fact", QByteArray("\x80\xBB\0\0", 4))
                            .Data(SineSamples(f, 48000, 440.0))
                            .Chunk("smpl", QByteArray(36, '\0'))
                            .Save(dir.filePath(QStringLiteral("chunks.wav")));
    for (const int choice : {int(CEncode::kGogo), int(CEncode::kLame)}) {
        SCOPED_TRACE(RouteName(choice));
        const Result r = EncodeWith(choice, wav);
        ASSERT_TRUE(r) << r.message;
        const DECODED d = Decode(dir.filePath(QStringLiteral("chunks.mp3")));
        EXPECT_EQ(d.format.channels, 2);
        EXPECT_NEAR(d.seconds, 1.0, 0.03);
        const std::vector<double> left = FirstChannel(d.format, d.data);
        EXPECT_NEAR(ZeroCrossingHz(left, d.format.samplesPerSec), 440.0, 2.0);
        EXPECT_NEAR(Rms(left), 0.354, 0.04);
    }
}

TEST_F(EncodeRoundTrip, RatesAnMp3FileCannotHoldAreResampledKeepingLengthAndPitch) {
    struct Case {
        uint32_t rate;
        double hz;
    };
    for (const int choice : {int(CEncode::kGogo), int(CEncode::kLame)}) {
        for (const Case c : {Case{1000, 220.0}, Case{96000, 440.0}, Case{384000, 440.0}}) {
            SCOPED_TRACE(std::string(RouteName(choice)) + ", " + std::to_string(c.rate) + " Hz");
            const WAVE_FORMAT f = MakeFormat(1, c.rate, 16, false);
            const QString wav = WriteFile(dir.filePath(QStringLiteral("rate.wav")),
                                          PlainWav(f, SineSamples(f, int(c.rate), c.hz)));
            const Result r = EncodeWith(choice, wav);
            ASSERT_TRUE(r) << r.message;
            const DECODED d = Decode(dir.filePath(QStringLiteral("rate.mp3")));
            EXPECT_NEAR(d.seconds, 1.0, 0.03);
            EXPECT_NEAR(ZeroCrossingHz(FirstChannel(d.format, d.data), d.format.samplesPerSec),
                        c.hz, 2.0);
        }
    }
}

TEST_F(EncodeRoundTrip, TheLameRecordIsMonoForOneChannelAndStereoOtherwise) {
    const BE_CONFIG mono = CLameRoute::MakeConfig(22050, 1, 96);
    const BE_CONFIG stereo = CLameRoute::MakeConfig(44100, 2, 320);
    EXPECT_EQ(mono.nMode, 3);
    EXPECT_EQ(stereo.nMode, 0);
    EXPECT_EQ(mono.dwSampleRate, 22050u);
    EXPECT_EQ(stereo.dwBitrate, 320u);
    const auto* bytes = reinterpret_cast<const uint8_t*>(&stereo);
    const auto u32 = [bytes](int at) {
        return uint32_t(bytes[at]) | uint32_t(bytes[at + 1]) << 8 | uint32_t(bytes[at + 2]) << 16 |
               uint32_t(bytes[at + 3]) << 24;
    };
    EXPECT_EQ(u32(0), 256u);
    EXPECT_EQ(u32(4), 1u);
    EXPECT_EQ(u32(8), 331u);
    EXPECT_EQ(u32(36), 1u);
    EXPECT_EQ(u32(60), 1u);
    EXPECT_EQ(u32(68), 1u);
    EXPECT_EQ(u32(84), 1u);
    for (const int zero : {16, 28, 32, 40, 44, 48, 52, 56, 64, 72, 76, 80, 88})
        EXPECT_EQ(u32(zero), 0u) << "offset " << zero;
}

TEST_F(EncodeRoundTrip, AbortingLeavesThePartWrittenSoFar) {
    // Long enough that the first look at the progress, after 100 ms, comes well before the
    // end on any machine.
    const WAVE_FORMAT f = MakeFormat(2, 44100, 16, false);
    const QString wav = WriteFile(dir.filePath(QStringLiteral("long.wav")),
                                  PlainWav(f, SineSamples(f, 44100 * 120, 440.0)));
    const QString mp3 = dir.filePath(QStringLiteral("long.mp3"));
    for (const int choice : {int(CEncode::kGogo), int(CEncode::kLame)}) {
        SCOPED_TRACE(RouteName(choice));
        ASSERT_TRUE(EncodeWith(choice, wav));
        const qint64 whole = QFileInfo(mp3).size();
        int calls = 0;
        const Result r = EncodeWith(choice, wav, [&calls](double fraction) {
            EXPECT_GE(fraction, 0.0);
            EXPECT_LT(fraction, 1.0);
            ++calls;
            return false;
        });
        EXPECT_FALSE(r);
        EXPECT_EQ(calls, 1);
        const qint64 part = QFileInfo(mp3).size();
        EXPECT_GT(part, 0);
        EXPECT_LT(part, whole * 3 / 4);
    }
}

TEST_F(EncodeRoundTrip, AFileThatIsNoWavEndsTheWorkerWithoutAnMp3) {
    const QString wav = WriteFile(dir.filePath(QStringLiteral("bad.wav")), QByteArray(100, 'x'));
    for (const int choice : {int(CEncode::kGogo), int(CEncode::kLame)}) {
        SCOPED_TRACE(RouteName(choice));
        EXPECT_FALSE(EncodeWith(choice, wav));
        EXPECT_LE(QFileInfo(dir.filePath(QStringLiteral("bad.mp3"))).size(), 0);
    }
}
