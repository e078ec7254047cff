#include "audio/SoundFileFormat.h"

const char* SoundFileExtension(SoundFileKind kind) {
    switch (kind) {
    case SoundFileKind::Wav:
        return ".wav";
    case SoundFileKind::Flac:
        return ".flac";
    case SoundFileKind::OggVorbis:
        return ".ogg";
    case SoundFileKind::Opus:
        return ".opus";
    case SoundFileKind::Mp3:
        return ".mp3";
    }
    return ".wav";
}

std::optional<SoundFileKind> SoundFileKindNamed(const std::string& name) {
    if (name == "wav")
        return SoundFileKind::Wav;
    if (name == "flac")
        return SoundFileKind::Flac;
    if (name == "ogg")
        return SoundFileKind::OggVorbis;
    if (name == "opus")
        return SoundFileKind::Opus;
    if (name == "mp3")
        return SoundFileKind::Mp3;
    return std::nullopt;
}

int OpusRateFor(int rate) {
    for (int allowed : {8000, 12000, 16000, 24000, 48000})
        if (rate == allowed)
            return rate;
    return 48000;
}

bool IsLossless(SoundFileKind kind) {
    return kind == SoundFileKind::Wav || kind == SoundFileKind::Flac;
}
