#include "PreviewTestSupport.h"

#include "preview/internal/CPreviewVoice.h"

namespace previewtest {

CProject Song(int32_t rate, int32_t waveform) {
    CProject p;
    p.data.samplesPerSec = rate;
    p.data.channels = 1;
    p.data.volumes.Assign({{0, 255}});
    p.data.reductionPuchiNoise = 0;
    CTrack& t = p.tracks.emplace_back();
    t.settings.waveform = waveform;
    t.settings.volume = 255;
    return p;
}

std::vector<int16_t> Reference(const CProject& song, int key, size_t frames, double gain) {
    CPreviewVoice voice;
    voice.Start(song, song.tracks.at(0), key);
    std::vector<uint8_t> bytes(frames * 2);
    voice.Render(bytes.data(), int32_t(frames), gain);
    std::vector<int16_t> samples(frames);
    for (size_t i = 0; i < frames; ++i)
        samples[i] = int16_t(uint16_t(bytes[2 * i] | (bytes[2 * i + 1] << 8)));
    return samples;
}

} // namespace previewtest
