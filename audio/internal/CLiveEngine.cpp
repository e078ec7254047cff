#include "audio/internal/CLiveEngine.h"

#include "audio/CWaveOut.h"
#include "audio/internal/LiveStatus.h"

#include <QThread>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>

#define TSQ_PLAYER_THREAD_ONLY() Q_ASSERT(QThread::currentThread() == thread())

namespace {

// Often enough for a play line drawn every 20 ms, seldom enough to cost nothing.
constexpr int kPublishMs = 5;
// A click rings at these pitches, kept below a quarter of the sample rate.
constexpr double kToneHz = 1000.0;
constexpr double kAccentHz = 2000.0;
constexpr double kToneLevel = 0.35;
constexpr double kAccentLevel = 0.7;
constexpr double kFrameAllowance = 1e-6; // 0.7 s at 1000 Hz is 700 frames, not 699

// Starts at its peak, so the click begins exactly on its frame, and dies away linearly.
std::vector<double> MakeTone(uint32_t rate, double hz, double level, uint64_t frames) {
    const double pitch = std::min(hz, rate / 4.0);
    std::vector<double> tone(frames);
    for (uint64_t k = 0; k < frames; ++k) {
        const double fade = 1.0 - double(k) / double(frames);
        tone[k] = level * fade * std::cos(2.0 * std::numbers::pi * pitch * double(k) / rate);
    }
    return tone;
}

uint64_t MsToFrames(uint32_t rate, int ms) {
    return std::max<uint64_t>(1, uint64_t(rate) * uint64_t(ms) / 1000);
}

} // namespace

CLiveEngine::CLiveEngine(const LIVE_PLAYER_OPTIONS& options, LIVE_STATUS& status)
    : m_options(options), m_status(status), m_publisher(this) {
    m_publisher.setInterval(kPublishMs);
    connect(&m_publisher, &QTimer::timeout, this, &CLiveEngine::PublishPosition);
}

CLiveEngine::~CLiveEngine() = default;

Result CLiveEngine::Open(SONALO_WAVE& wave) {
    TSQ_PLAYER_THREAD_ONLY();
    Close();
    auto device = std::make_unique<CWaveOut>();
    if (Result opened = device->Open(wave.format); !opened) {
        return opened;
    }
    connect(device.get(), &CWaveOut::bufferDone, this, &CLiveEngine::OnBufferDone);
    m_device = std::move(device);
    m_format = wave.format;
    m_mixer = CPcmMixer(m_format);
    m_data = std::move(wave.data);
    m_frames = m_data.size() / FrameSize();
    m_fileLoop = FileLoop(wave.sampler);
    MakeRing();
    MakeTones();
    SetVolume(m_volume);
    m_stopped = 0;
    m_status.underruns.store(0);
    PublishFile();
    PublishPosition();
    return Result::Ok();
}

void CLiveEngine::Close() {
    TSQ_PLAYER_THREAD_ONLY();
    Stop();
    m_device.reset(); // headers still queued come back without notices
    m_ring.clear();
    m_data.clear();
    m_data.shrink_to_fit();
    m_frames = 0;
    m_fileLoop.reset();
    m_range.reset(); // its frames belong to this file
    m_format = WAVE_FORMAT{};
    m_status.open.store(false);
    PublishFile();
}

void CLiveEngine::MakeRing() {
    const uint64_t frames =
        MsToFrames(m_format.samplesPerSec, std::clamp(m_options.bufferMs, 1, 250));
    m_ring.assign(size_t(std::clamp(m_options.bufferCount, 2, 16)), BUFFER{});
    for (BUFFER& buffer : m_ring) {
        buffer.bytes.assign(frames * FrameSize(), 0);
        buffer.header.data = buffer.bytes.data();
        m_device->Prepare(buffer.header);
    }
}

void CLiveEngine::MakeTones() {
    const uint32_t rate = m_format.samplesPerSec;
    const uint64_t frames = MsToFrames(rate, std::clamp(m_options.clickMs, 1, 50));
    m_tone = MakeTone(rate, kToneHz, kToneLevel, frames);
    m_accentTone = MakeTone(rate, kAccentHz, kAccentLevel, frames);
}

bool CLiveEngine::Play() {
    TSQ_PLAYER_THREAD_ONLY();
    if (!m_device) {
        return false;
    }
    if (m_playing) {
        return true;
    }
    // The device's byte count restarts with the stream, and so does the map onto the data.
    m_device->Reset();
    m_map.Clear();
    m_written = 0;
    m_heldUntil = 0;
    m_jump.reset();
    m_cursor = m_stopped < m_frames ? m_stopped : 0;
    TopUp();
    m_playing = AnyQueued();
    m_status.playing.store(m_playing);
    if (m_playing) {
        m_publisher.start();
    }
    PublishPosition();
    return true;
}

void CLiveEngine::Stop() {
    TSQ_PLAYER_THREAD_ONLY();
    Halt(0);
}

bool CLiveEngine::Pause() {
    TSQ_PLAYER_THREAD_ONLY();
    if (!m_device) {
        return false;
    }
    Halt(PositionNow());
    return true;
}

void CLiveEngine::Halt(uint64_t position) {
    if (m_device) {
        m_device->Reset(); // its notices find m_playing false and are dropped
    }
    m_publisher.stop();
    m_playing = false;
    m_jump.reset();
    m_stopped = position;
    m_status.playing.store(false);
    PublishPosition();
}

uint64_t CLiveEngine::FramesOf(double seconds) const {
    const double frames = std::floor(seconds * m_format.samplesPerSec + kFrameAllowance);
    return frames >= double(m_frames) ? m_frames : uint64_t(frames);
}

bool CLiveEngine::Seek(double seconds) {
    TSQ_PLAYER_THREAD_ONLY();
    if (!m_device) {
        return false;
    }
    const uint64_t frame = std::min(FramesOf(seconds), m_frames - 1);
    if (m_playing) {
        m_jump = frame;
    } else {
        m_stopped = frame;
    }
    PublishPosition();
    return true;
}

void CLiveEngine::SetLoop(bool loop) {
    TSQ_PLAYER_THREAD_ONLY();
    m_loop = loop;
    m_status.loop.store(loop);
    LoopChanged();
}

bool CLiveEngine::SetLoopRange(double startSeconds, double endSeconds) {
    TSQ_PLAYER_THREAD_ONLY();
    if (!m_device) {
        return false;
    }
    const uint64_t start = FramesOf(startSeconds);
    const uint64_t end = FramesOf(endSeconds);
    if (start >= end) {
        return false;
    }
    m_range = LOOP{start, end};
    LoopChanged();
    return true;
}

void CLiveEngine::ClearLoopRange() {
    TSQ_PLAYER_THREAD_ONLY();
    m_range.reset();
    LoopChanged();
}

// The reader keeps the loop inside the kept data.
std::optional<CLiveEngine::LOOP> CLiveEngine::FileLoop(const SAMPLER& s) {
    return s.loopCount ? std::optional<LOOP>(LOOP{s.loopStart, uint64_t(s.loopEnd) + 1})
                       : std::nullopt;
}

std::optional<CLiveEngine::LOOP> CLiveEngine::ActiveLoop() const {
    if (m_range) {
        return m_range;
    }
    if (!m_loop) {
        return std::nullopt;
    }
    return m_fileLoop ? m_fileLoop : LOOP{0, m_frames};
}

void CLiveEngine::LoopChanged() {
    if (!m_playing) {
        return;
    }
    // The sound already at the device may run on past the loop's end, ahead of what is
    // heard: the closest to an exact wrap is to wrap right after that sound.
    const std::optional<LOOP> loop = ActiveLoop();
    const uint64_t played = m_device->GetPosition() / FrameSize();
    if (loop && !m_jump && m_map.Crosses(played, loop->end - 1)) {
        m_jump = loop->start;
    }
    // Data that had run out may go on now (the whole-data loop switched on).
    TopUp();
}

void CLiveEngine::SetVolume(double volume) {
    TSQ_PLAYER_THREAD_ONLY();
    m_volume = volume >= 0.0 ? std::min(volume, 1.0) : 0.0;
    m_status.volume.store(m_volume);
    if (m_device) {
        const uint32_t level = uint32_t(m_volume * 65535.0) & 0xFFFFu;
        m_device->SetVolume((level << 16) | level);
    }
}

void CLiveEngine::SetClicks(std::vector<LIVE_CLICK> clicks) {
    TSQ_PLAYER_THREAD_ONLY();
    m_clicks = std::move(clicks);
}

void CLiveEngine::SetClickVolume(double volume) {
    TSQ_PLAYER_THREAD_ONLY();
    m_clickVolume = volume >= 0.0 ? std::min(volume, 1.0) : 0.0;
}

void CLiveEngine::Patch(uint64_t keptByte, const std::vector<uint8_t>& bytes) {
    TSQ_PLAYER_THREAD_ONLY();
    if (keptByte <= m_data.size() && bytes.size() <= m_data.size() - keptByte) {
        std::memcpy(m_data.data() + keptByte, bytes.data(), bytes.size());
    }
}

Result CLiveEngine::Replace(SONALO_WAVE& wave) {
    TSQ_PLAYER_THREAD_ONLY();
    if (!m_device) {
        return Result::Fail("no file is open");
    }
    const WAVE_FORMAT& f = wave.format;
    if (f.formatTag != m_format.formatTag || f.channels != m_format.channels ||
        f.samplesPerSec != m_format.samplesPerSec || f.bitsPerSample != m_format.bitsPerSample ||
        f.blockAlign != m_format.blockAlign) {
        return Result::Fail("the file now has another sample format");
    }
    m_data = std::move(wave.data);
    m_frames = m_data.size() / FrameSize();
    m_fileLoop = FileLoop(wave.sampler);
    if (m_range) {
        m_range->end = std::min(m_range->end, m_frames);
        if (m_range->start >= m_range->end) {
            m_range.reset();
        }
    }
    m_cursor = std::min(m_cursor, m_frames);
    m_stopped = std::min(m_stopped, m_frames);
    if (m_jump) {
        m_jump = std::min(*m_jump, m_frames - 1);
    }
    PublishFile();
    LoopChanged();
    return Result::Ok();
}

void CLiveEngine::Shutdown(QThread* home) {
    TSQ_PLAYER_THREAD_ONLY();
    Close();
    m_publisher.stop();
    moveToThread(home);
}

void CLiveEngine::TopUp() {
    for (BUFFER& buffer : m_ring) {
        if (!(buffer.header.flags & WAVE_HEADER::kInQueue) && Fill(buffer) == 0) {
            return;
        }
    }
}

uint64_t CLiveEngine::Fill(BUFFER& buffer) {
    const uint32_t size = FrameSize();
    const uint64_t capacity = buffer.bytes.size() / size;
    std::optional<uint64_t> fadeFrom;
    if (m_jump) {
        fadeFrom = m_cursor;
        m_cursor = *m_jump;
        m_jump.reset();
        m_heldUntil = m_written;
        m_heldFrame = m_cursor;
    }
    uint64_t done = 0;
    while (done < capacity) {
        const uint64_t n = NextSpan(capacity - done);
        if (n == 0) {
            break;
        }
        uint8_t* dst = buffer.bytes.data() + done * size;
        std::memcpy(dst, m_data.data() + m_cursor * size, n * size);
        MixClicks(dst, m_cursor, n);
        m_map.Append(m_written + done, m_cursor, n);
        m_cursor += n;
        done += n;
    }
    if (fadeFrom && done > 0) {
        Crossfade(buffer.bytes.data(), done, *fadeFrom);
    }
    buffer.header.length = uint32_t(done * size);
    if (done > 0) {
        m_device->Write(buffer.header);
    }
    m_written += done;
    return done;
}

// Frames that can be copied from m_cursor on in one piece, after a wrap when the cursor
// stands on the loop's end. 0 at the end of the data.
uint64_t CLiveEngine::NextSpan(uint64_t want) {
    const std::optional<LOOP> loop = ActiveLoop();
    if (loop && m_cursor == loop->end) {
        m_cursor = loop->start;
    }
    // A cursor beyond the loop's end plays on to the end of the data, as in Sonalo.
    const uint64_t end = loop && m_cursor < loop->end ? loop->end : m_frames;
    return end > m_cursor ? std::min(want, end - m_cursor) : 0;
}

void CLiveEngine::MixClicks(uint8_t* dst, uint64_t first, uint64_t count) const {
    if (m_clicks.empty() || m_clickVolume <= 0.0) {
        return;
    }
    const uint64_t length = m_tone.size();
    const uint64_t earliest = first >= length ? first - length + 1 : 0;
    auto it = std::lower_bound(m_clicks.begin(), m_clicks.end(), earliest,
                               [](const LIVE_CLICK& c, uint64_t f) { return c.frame < f; });
    for (; it != m_clicks.end() && it->frame < first + count; ++it) {
        const std::vector<double>& tone = it->accent ? m_accentTone : m_tone;
        const uint64_t from = std::max(it->frame, first);
        const uint64_t to = std::min(it->frame + length, first + count);
        for (uint64_t f = from; f < to; ++f) {
            m_mixer.Add(dst + (f - first) * FrameSize(), tone[f - it->frame] * m_clickVolume);
        }
    }
}

// Blends the first frames after a jump with the frames that would have followed without
// it, so the jump is heard as a short crossfade rather than a click.
void CLiveEngine::Crossfade(uint8_t* dst, uint64_t count, uint64_t from) const {
    const uint64_t frames = std::min<uint64_t>(
        count, uint64_t(m_format.samplesPerSec) * std::clamp(m_options.fadeMs, 0, 50) / 1000);
    for (uint64_t k = 0; k < frames; ++k) {
        const uint64_t old = from + k;
        const uint8_t* below = old < m_frames ? m_data.data() + old * FrameSize() : nullptr;
        m_mixer.Blend(dst + k * FrameSize(), below, double(k + 1) / double(frames + 1));
    }
}

bool CLiveEngine::AnyQueued() const {
    return std::any_of(m_ring.begin(), m_ring.end(), [](const BUFFER& b) {
        return (b.header.flags & WAVE_HEADER::kInQueue) != 0;
    });
}

void CLiveEngine::OnBufferDone(WAVE_HEADER* header) {
    if (!m_playing || (header->flags & WAVE_HEADER::kInQueue)) {
        return;
    }
    // The device played all it was given while there is more to play: it ran dry. (The
    // headers' flags cannot tell: the device marks them only when it delivers notices.)
    const bool dry = m_device->GetPosition() / FrameSize() >= m_written;
    const uint64_t before = m_written;
    TopUp();
    if (dry && m_written > before) {
        m_status.underruns.fetch_add(1);
    }
    if (!AnyQueued()) {
        Halt(m_map.FrameAt(m_written, m_cursor));
        return;
    }
    PublishPosition();
}

uint64_t CLiveEngine::PositionNow() {
    if (!m_playing) {
        return m_stopped;
    }
    if (m_jump) {
        return *m_jump;
    }
    const uint64_t played = m_device->GetPosition() / FrameSize();
    if (played < m_heldUntil) {
        return m_heldFrame;
    }
    return m_map.FrameAt(played, m_cursor);
}

void CLiveEngine::PublishPosition() {
    m_status.position.store(m_device ? PositionNow() : 0);
}

void CLiveEngine::PublishFile() {
    m_status.rate.store(m_format.samplesPerSec);
    m_status.frames.store(m_frames);
    m_status.fileLoop.store(m_fileLoop.has_value());
    m_status.fileLoopStart.store(m_fileLoop ? m_fileLoop->start : 0);
    m_status.fileLoopEnd.store(m_fileLoop ? m_fileLoop->end : 0);
    m_status.open.store(m_device != nullptr);
}
