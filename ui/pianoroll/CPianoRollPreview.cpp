#include "ui/pianoroll/CPianoRollPreview.h"

#include "audio/CAudioFile.h"

#include <utility>

namespace {

constexpr int kRows = 96;

} // namespace

CPianoRollPreview::CPianoRollPreview() = default;

CPianoRollPreview::~CPianoRollPreview() {
    m_engine.Close();
}

void CPianoRollPreview::Prepare(const CProject& project, const CTrack* track, int bufferMs) {
    m_engine.Stop();
    if (track == nullptr) {
        m_engine.Close();
        m_hasTrack = false;
        m_track.settings.pcm.FreeSample();
        return;
    }
    const bool same = m_hasTrack && bufferMs == m_bufferMs && m_project.data == project.data &&
                      m_track.settings == track->settings;
    if (!same) {
        m_engine.Close();
        m_project.data = project.data;
        TakeTrack(*track);
        m_bufferMs = bufferMs;
        m_hasTrack = true;
    }
    // A device that could not be opened before (busy, unplugged) is tried again.
    if (!same || !m_engine.IsOpen())
        m_engine.Open(&m_project, &m_track, bufferMs);
    m_engine.SetVolume(OutputVolume());
}

void CPianoRollPreview::TakeTrack(const CTrack& track) {
    CPCM& pcm = m_track.settings.pcm;
    const bool keepSample = pcm.HasSample() && pcm.SameSettings(track.settings.pcm);
    std::vector<uint8_t> sample = std::move(pcm.sampleData);
    const WAVE_FORMAT format = pcm.sampleFormat;
    // Copying settings drops a loaded sample; the one already read is put back when the
    // track still names the same file.
    m_track.settings = track.settings;
    if (m_track.settings.waveform != kPcm) {
        pcm.FreeSample();
    } else if (keepSample) {
        pcm.sampleData = std::move(sample);
        pcm.sampleFormat = format;
    } else {
        CAudioFile loader;
        pcm.LoadSample(loader);
    }
}

void CPianoRollPreview::Sound(int row) {
    if (row < 0 || row >= kRows || !m_hasTrack)
        return;
    const int key = kRows - 1 - row;
    if (m_engine.IsPlaying() && m_engine.Key() == key)
        return;
    m_engine.SetVolume(OutputVolume());
    m_engine.Play(key);
}

void CPianoRollPreview::HoldRow(int row, double level) {
    if (row < 0 || row >= kRows || !m_hasTrack)
        return;
    m_engine.SetVolume(OutputVolume());
    m_engine.NoteOn(kRows - 1 - row, level);
}

void CPianoRollPreview::ReleaseRow(int row) {
    if (row >= 0 && row < kRows)
        m_engine.NoteOff(kRows - 1 - row);
}

bool CPianoRollPreview::IsRowSounding(int row) const {
    return row >= 0 && row < kRows && m_engine.IsSounding(kRows - 1 - row);
}

void CPianoRollPreview::Stop() {
    m_engine.Stop();
}

bool CPianoRollPreview::IsSounding() const {
    return m_engine.IsPlaying();
}

int CPianoRollPreview::SoundingRow() const {
    return m_engine.IsPlaying() ? kRows - 1 - m_engine.Key() : -1;
}

double CPianoRollPreview::OutputVolume() const {
    return m_outputVolume ? m_outputVolume() : 1.0;
}
