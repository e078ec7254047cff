#pragma once
// The kinds of sound file an export writes and what each needs: the encoders are
// libsndfile's, which is why Opus is limited to its five sample rates, except for MP3,
// which the encoder modules write from a WAV file and libsndfile refuses.

#include <cstdint>
#include <optional>
#include <string>

enum class SoundFileKind { Wav, Flac, OggVorbis, Opus, Mp3 };

// A forward loop over the frames start .. start + length - 1 of the file.
struct SOUND_FILE_LOOP {
    int64_t start = 0;
    int64_t length = 0;
};

struct SOUND_FILE_SPEC {
    SoundFileKind kind = SoundFileKind::Wav;
    int channels = 2;
    int rate = 44100;
    // WAV: 8, 16, 24 integer or 32, 64 float; FLAC: 8, 16 or 24 (wider sources become 24).
    int bitsPerSample = 16;
    // 0 (smallest file) .. 1 (best sound): FLAC's effort in reverse, Vorbis' and Opus' quality.
    double quality = 0.7;
    // Written as a "smpl" chunk into WAV files and as LOOPSTART/LOOPLENGTH into Ogg files.
    std::optional<SOUND_FILE_LOOP> loop;
};

// The file name extension of a kind, with its dot.
const char* SoundFileExtension(SoundFileKind kind);
// "wav", "flac", "ogg", "opus", "mp3" as the command line names the kinds.
std::optional<SoundFileKind> SoundFileKindNamed(const std::string& name);
// The rate Opus is written at for a song of `rate`: the rate itself when libsndfile can
// encode it, else 48000 (the song is then rendered at 48000 Hz rather than resampled).
int OpusRateFor(int rate);
// Whether the kind keeps every sample as rendered (at widths up to 24 bits).
bool IsLossless(SoundFileKind kind);
