// The sound files an export writes: every width and kind reads back as written (bit for
// bit where lossless), a file that is not committed never appears at its name, rates Opus
// cannot take are refused, and the Ogg comment header takes the loop comments whole or
// not at all.

#include "audio/CSoundFileReader.h"
#include "audio/CSoundFileWriter.h"
#include "audio/internal/OggLoopComments.h"

#include "../support/TempFolderTest.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

class SoundFile : public TempFolderTest {
protected:
    size_t Entries() const {
        return size_t(std::distance(fs::directory_iterator(dir), fs::directory_iterator()));
    }
};

// Values on the grid of `bits` (what a build of that width holds), full scale included.
std::vector<double> Ramp(int frames, int channels, int bits) {
    std::vector<double> samples(size_t(frames) * size_t(channels));
    const double step = std::ldexp(1.0, 1 - bits);
    for (size_t i = 0; i < samples.size(); ++i)
        samples[i] = std::max(-1.0, std::round((double(i % 200) / 100.0 - 1.0) / step) * step);
    return samples;
}

} // namespace

TEST_F(SoundFile, LosslessFilesReadBackBitForBit) {
    struct CASE {
        SoundFileKind kind;
        int bits;
    };
    for (const CASE& c :
         {CASE{SoundFileKind::Wav, 8}, CASE{SoundFileKind::Wav, 16}, CASE{SoundFileKind::Wav, 24},
          CASE{SoundFileKind::Wav, 32}, CASE{SoundFileKind::Flac, 8}, CASE{SoundFileKind::Flac, 16},
          CASE{SoundFileKind::Flac, 24}}) {
        SCOPED_TRACE(std::to_string(c.bits) + SoundFileExtension(c.kind));
        const std::string path = File(std::string("a") + SoundFileExtension(c.kind));
        const std::vector<double> samples = Ramp(1001, 2, std::min(c.bits, 24));
        SOUND_FILE_SPEC spec;
        spec.kind = c.kind;
        spec.rate = 22050;
        spec.bitsPerSample = c.bits;
        CSoundFileWriter writer;
        ASSERT_TRUE(writer.Open(path, spec));
        ASSERT_TRUE(writer.Write(samples.data(), 1001));
        ASSERT_TRUE(writer.Commit());
        CSoundFileReader reader;
        ASSERT_TRUE(reader.Open(path));
        EXPECT_EQ(reader.Frames(), 1001);
        std::vector<double> back(samples.size() + 4);
        ASSERT_TRUE(reader.Read(0, 1003, back.data()));
        EXPECT_EQ(std::vector<double>(back.begin(), back.begin() + long(samples.size())), samples);
        EXPECT_EQ(back.back(), 0.0) << "frames past the end read as silence";
        EXPECT_EQ(Entries(), 1u) << "no temporary file is left";
        fs::remove(path);
    }
}

TEST_F(SoundFile, NothingAppearsUntilCommitted) {
    SOUND_FILE_SPEC spec;
    spec.kind = SoundFileKind::OggVorbis;
    const std::vector<double> samples = Ramp(4000, 2, 16);
    {
        CSoundFileWriter writer;
        ASSERT_TRUE(writer.Open(File("a.ogg"), spec));
        ASSERT_TRUE(writer.Write(samples.data(), 4000));
        EXPECT_FALSE(fs::exists(File("a.ogg")));
    }
    EXPECT_EQ(Entries(), 0u) << "an abandoned writer removes its temporary file";

    spec.kind = SoundFileKind::Opus;
    CSoundFileWriter writer;
    const Result refused = writer.Open(File("a.opus"), spec);
    EXPECT_FALSE(refused);
    EXPECT_NE(refused.message.find("48000"), std::string::npos) << refused.message;
    EXPECT_FALSE(writer.Open(File("no/such/folder/a.wav"), SOUND_FILE_SPEC{}));
    EXPECT_EQ(Entries(), 0u);
}

TEST(OggLoopComments, AppendToTheListAndKeepWhatFollows) {
    const std::vector<uint8_t> vorbis = {0x03, 'v', 'o', 'r', 'b', 'i', 's', 2, 0,
                                         0,    0,   'v', 'x', 1,   0,   0,   0, 3,
                                         0,    0,   0,   'A', '=', '1', 0x01};
    const std::vector<uint8_t> with = WithComments(vorbis, {"LOOPSTART=5"});
    const std::vector<uint8_t> expected = {0x03, 'v', 'o', 'r', 'b', 'i', 's', 2,   0,   0,
                                           0,    'v', 'x', 2,   0,   0,   0,   3,   0,   0,
                                           0,    'A', '=', '1', 11,  0,   0,   0,   'L', 'O',
                                           'O',  'P', 'S', 'T', 'A', 'R', 'T', '=', '5', 0x01};
    EXPECT_EQ(with, expected);

    // Lengths that run past the packet and other packets are refused.
    std::vector<uint8_t> damaged = vorbis;
    damaged[17] = 200;
    EXPECT_TRUE(WithComments(damaged, {"X=1"}).empty());
    EXPECT_TRUE(WithComments({vorbis.begin(), vorbis.begin() + 12}, {"X=1"}).empty());
    EXPECT_TRUE(WithComments({'O', 'p', 'u', 's', 'H', 'e', 'a', 'd'}, {"X=1"}).empty());
}
