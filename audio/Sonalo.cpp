#include "audio/Sonalo.h"

#include "audio/CWaveOut.h"
#include "audio/internal/CSonaloWaveReader.h"

#include <QFile>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

constexpr double kFrameAllowance = 1e-6; // see FramesIn in the reader

} // namespace

Sonalo::Sonalo() = default;

Sonalo::~Sonalo() {
    Close();
}

bool Sonalo::Open(const QString& path, double head, double tail) {
    Close();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return false;
    }
    SONALO_WAVE wave;
    if (!CSonaloWaveReader::Read(file, head, tail, wave)) {
        return false;
    }
    auto device = std::make_unique<CWaveOut>();
    if (!device->Open(wave.format)) {
        return false;
    }
    QObject::connect(device.get(), &CWaveOut::bufferDone, device.get(),
                     [this](WAVE_HEADER* header) { OnBufferDone(header); });
    m_device = std::move(device);
    m_format = wave.format;
    m_sampler = wave.sampler;
    m_data = std::move(wave.data);
    SetVolume(m_volume);
    m_startOffset = 0;
    return true;
}

void Sonalo::Close() {
    Stop();
    m_device.reset();
    m_data.clear();
    m_data.shrink_to_fit();
    m_format = WAVE_FORMAT{};
    m_sampler = SAMPLER{};
    m_readCursor = 0;
}

bool Sonalo::Play() {
    if (!m_device) {
        return false;
    }
    if (m_playing) {
        return true;
    }
    // After the data ran out the device still counts the old stream; start afresh.
    m_device->Reset();
    m_readCursor = m_startOffset;
    // Decided before the first fill, which depends on it.
    m_beyondLoop = HasLoop() && m_startOffset >= LoopEndByte();
    const size_t capacity = size_t(2) * m_format.samplesPerSec * FrameSize();
    for (int i = 0; i < 2; ++i) {
        m_buffers[i].assign(capacity, 0);
        m_headers[i] = WAVE_HEADER{};
        m_headers[i].data = m_buffers[i].data();
        m_headers[i].length = uint32_t(capacity);
        m_device->Prepare(m_headers[i]);
    }
    const uint32_t first = FillBuffer(0);
    const uint32_t second = FillBuffer(1);
    m_playing = first > 0 || second > 0;
    return true;
}

void Sonalo::Stop() {
    if (!m_device) {
        return;
    }
    m_device->Reset();
    for (int i = 0; i < 2; ++i) {
        m_device->Unprepare(m_headers[i]);
        m_headers[i].data = nullptr;
        m_headers[i].length = 0;
        m_buffers[i].clear();
        m_buffers[i].shrink_to_fit();
    }
    m_startOffset = 0;
    m_playing = false;
}

bool Sonalo::Pause() {
    if (!m_device) {
        return false;
    }
    const uint64_t position = PositionBytes();
    Stop();
    SeekBytes(position);
    return true;
}

bool Sonalo::Seek(double seconds) {
    if (!(seconds >= 0.0)) {
        return false;
    }
    m_beyondLoop = false;
    if (!m_device) {
        return false;
    }
    const bool wasPlaying = m_playing;
    if (wasPlaying) {
        Stop();
    }
    const uint64_t lastFrame = m_data.size() / FrameSize() - 1;
    const double frames = std::floor(seconds * m_format.samplesPerSec + kFrameAllowance);
    const uint64_t frame = frames >= double(lastFrame) ? lastFrame : uint64_t(frames);
    SeekBytes(frame * FrameSize());
    if (wasPlaying) {
        Play();
    }
    return true;
}

void Sonalo::SeekBytes(uint64_t offset) {
    m_startOffset = offset;
    m_beyondLoop = HasLoop() && m_startOffset >= LoopEndByte();
}

void Sonalo::SetLoop(bool loop) {
    if (loop == m_loopEnabled) {
        return;
    }
    if (!m_playing) {
        m_loopEnabled = loop;
        return;
    }
    Pause(); // also decides whether the position lies beyond the loop
    m_loopEnabled = loop;
    Play();
}

void Sonalo::SetVolume(double volume) {
    m_volume = volume >= 0.0 ? std::min(volume, 1.0) : 0.0;
    if (!m_device) {
        return;
    }
    const uint32_t level = uint32_t(m_volume * 65535.0) & 0xFFFFu;
    const uint32_t word = (level << 16) | level;
    if (m_device->GetVolume() != word) {
        m_device->SetVolume(word);
    }
}

double Sonalo::GetPosition() const {
    if (!m_device) {
        return 0.0;
    }
    return double(PositionBytes() / FrameSize()) / m_format.samplesPerSec;
}

double Sonalo::GetLength() const {
    if (!m_device) {
        return 0.0;
    }
    return double(m_data.size()) / FrameSize() / m_format.samplesPerSec;
}

double Sonalo::GetLoopStart() const {
    return m_format.samplesPerSec ? double(m_sampler.loopStart) / m_format.samplesPerSec : 0.0;
}

double Sonalo::GetLoopEnd() const {
    return m_format.samplesPerSec ? (double(m_sampler.loopEnd) + 1.0) / m_format.samplesPerSec
                                  : 0.0;
}

uint32_t Sonalo::GetDeviceVolume() const {
    return m_device ? m_device->GetVolume() : 0;
}

uint64_t Sonalo::LoopStartByte() const {
    return uint64_t(m_sampler.loopStart) * FrameSize();
}

uint64_t Sonalo::LoopEndByte() const {
    return (uint64_t(m_sampler.loopEnd) + 1) * FrameSize();
}

bool Sonalo::LoopActive() const {
    return HasLoop() && m_loopEnabled && !m_beyondLoop;
}

uint64_t Sonalo::ActiveEnd() const {
    return LoopActive() ? LoopEndByte() : m_data.size();
}

uint64_t Sonalo::PositionBytes() const {
    uint64_t p = m_device->GetPosition() + m_startOffset;
    if (LoopActive()) {
        const uint64_t start = LoopStartByte();
        if (p >= LoopEndByte()) {
            p = start + (p - start) % (LoopEndByte() - start);
        }
    } else {
        p %= m_data.size();
    }
    return p;
}

uint32_t Sonalo::FillBuffer(int index) {
    std::vector<uint8_t>& buffer = m_buffers[index];
    const uint64_t capacity = buffer.size();
    uint64_t filled = 0;
    while (filled < capacity) {
        const uint64_t end = ActiveEnd();
        const uint64_t remaining = m_readCursor < end ? end - m_readCursor : 0;
        const uint64_t take = std::min(remaining, capacity - filled);
        if (take > 0) {
            std::memcpy(buffer.data() + filled, m_data.data() + m_readCursor, take);
        }
        m_readCursor += take;
        filled += take;
        if (filled == capacity || !m_loopEnabled || m_beyondLoop) {
            break;
        }
        const uint64_t restart = HasLoop() ? LoopStartByte() : 0;
        if (restart >= end) {
            break;
        }
        m_readCursor = restart;
    }
    WAVE_HEADER& header = m_headers[index];
    header.length = uint32_t(filled);
    if (filled > 0) {
        m_device->Write(header);
    }
    return uint32_t(filled);
}

void Sonalo::OnBufferDone(WAVE_HEADER* header) {
    const int index = header == &m_headers[0] ? 0 : header == &m_headers[1] ? 1 : -1;
    if (index < 0 || !(header->flags & WAVE_HEADER::kDone) ||
        !(header->flags & WAVE_HEADER::kPrepared)) {
        return;
    }
    if (FillBuffer(index) == 0 && m_headers[0].length == 0 && m_headers[1].length == 0) {
        m_playing = false;
    }
}
