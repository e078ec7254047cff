#include "preview/CPreviewEngine.h"

#include "audio/CWaveOut.h"
#include "audio/WaveHeader.h"
#include "model/CProject.h"
#include "model/LittleEndian.h"
#include "preview/internal/CPreviewVoice.h"
#include "preview/internal/PreviewFormat.h"

#include <QThread>

#include <algorithm>

#include <array>
#include <vector>

// Every method belongs to the thread the engine lives on; the device lives there too.
#define TSQ_ENGINE_THREAD_ONLY() Q_ASSERT(QThread::currentThread() == thread())

// Why there is no watching thread. A key lasts while the user holds the mouse button or the
// space bar. On this platform no thread can read the global mouse and keyboard state, so
// the owning widget reports the release by calling Stop; a watcher would only wait for that
// call. Nor could it do the device work a watcher would do, starting and resetting the
// stream, because a CWaveOut is used on its owner thread only. So Play starts the stream
// and Stop resets the device and unprepares the headers, synchronously, on the engine's
// thread. When Stop returns the sound has ended and no buffer is queued, which is what
// joining a watcher guaranteed: the next Play starts its key only after that, and Close
// frees the buffers only after that.
struct CPreviewEngine::Impl {
    struct SLOT {
        CPreviewVoice voice;
        int key = -1; // -1: free
        double level = 1.0;
        uint64_t started = 0; // the order keys started in
    };

    const CProject* project = nullptr;
    const CTrack* track = nullptr;
    double gain = 1.0;
    double volume = 1.0;
    std::unique_ptr<CWaveOut> device;
    int32_t bufferFrames = 0;
    std::vector<uint8_t> bytes; // the four buffers, one after the other
    std::vector<double> mix;    // one buffer's sum of the voices
    std::array<WAVE_HEADER, preview::kBuffers> headers;
    std::array<SLOT, kMaxVoices> voices;
    uint64_t starts = 0;
    bool streaming = false;

    bool OpenDevice(QObject* context);
    void StartStream();
    void StopStream();
    void Restream();
    void Refill(WAVE_HEADER* header);
    void Render(uint8_t* out);
    SLOT* SlotOf(int key);
    SLOT& FreeOrOldestSlot();
    const SLOT* Newest() const;
};

bool CPreviewEngine::Impl::OpenDevice(QObject* context) {
    const int32_t rate = project->data.samplesPerSec;
    if (rate <= 0)
        return false;
    auto out = std::make_unique<CWaveOut>();
    if (!out->Open(WAVE_FORMAT::Pcm(1, uint32_t(rate), 16)))
        return false;
    QObject::connect(out.get(), &CWaveOut::bufferDone, context,
                     [this](WAVE_HEADER* header) { Refill(header); });
    out->SetVolume(preview::VolumeWord(volume));
    device = std::move(out);
    return true;
}

// Queues the four buffers empty: they come back at once, and their notices start the
// refill cycle, so starting a key renders nothing itself.
void CPreviewEngine::Impl::StartStream() {
    for (size_t i = 0; i < headers.size(); ++i) {
        WAVE_HEADER& h = headers[i];
        h.data = bytes.data() + i * size_t(bufferFrames) * preview::kBytesPerFrame;
        h.length = 0;
        device->Prepare(h);
        device->Write(h);
    }
    streaming = true;
}

// Every queued header comes back done at once. Their notices still arrive later; they find
// the headers no longer prepared (or written again by the next key) and are ignored.
void CPreviewEngine::Impl::StopStream() {
    device->Reset();
    for (WAVE_HEADER& h : headers)
        device->Unprepare(h);
    streaming = false;
}

// The keys sounding changed: the queued buffers hold the old set, so they are dropped and
// the stream starts again with the new one.
void CPreviewEngine::Impl::Restream() {
    if (!device)
        return;
    if (streaming)
        StopStream();
    if (Newest() != nullptr)
        StartStream();
}

// Buffers are filled in the order the device hands them back, which is the order they
// play in; a notice for a header that is not done, not prepared or queued again is stale.
void CPreviewEngine::Impl::Refill(WAVE_HEADER* header) {
    if (!streaming || header < headers.data() || header >= headers.data() + headers.size())
        return;
    const uint32_t flags = header->flags;
    if (!(flags & WAVE_HEADER::kDone) || !(flags & WAVE_HEADER::kPrepared) ||
        (flags & WAVE_HEADER::kInQueue))
        return;
    Render(header->data);
    header->length = uint32_t(bufferFrames) * preview::kBytesPerFrame;
    device->Write(*header);
}

// One key renders straight to 16 bits, as it always has; several are summed first.
void CPreviewEngine::Impl::Render(uint8_t* out) {
    SLOT* single = nullptr;
    int sounding = 0;
    for (SLOT& slot : voices) {
        if (slot.key >= 0) {
            single = &slot;
            ++sounding;
        }
    }
    if (sounding == 1) {
        single->voice.Render(out, bufferFrames, gain * single->level);
        return;
    }
    std::fill(mix.begin(), mix.end(), 0.0);
    for (SLOT& slot : voices)
        if (slot.key >= 0)
            slot.voice.Mix(mix.data(), bufferFrames, gain * slot.level);
    for (int32_t i = 0; i < bufferFrames; ++i)
        le::Put16(out + 2 * i, static_cast<uint16_t>(preview::ToPcm16(mix[size_t(i)])));
}

CPreviewEngine::Impl::SLOT* CPreviewEngine::Impl::SlotOf(int key) {
    for (SLOT& slot : voices)
        if (slot.key == key)
            return &slot;
    return nullptr;
}

CPreviewEngine::Impl::SLOT& CPreviewEngine::Impl::FreeOrOldestSlot() {
    SLOT* oldest = &voices.front();
    for (SLOT& slot : voices) {
        if (slot.key < 0)
            return slot;
        if (slot.started < oldest->started)
            oldest = &slot;
    }
    return *oldest;
}

const CPreviewEngine::Impl::SLOT* CPreviewEngine::Impl::Newest() const {
    const SLOT* newest = nullptr;
    for (const SLOT& slot : voices)
        if (slot.key >= 0 && (newest == nullptr || slot.started > newest->started))
            newest = &slot;
    return newest;
}

CPreviewEngine::CPreviewEngine(QObject* parent) : QObject(parent), impl(std::make_unique<Impl>()) {
}

CPreviewEngine::~CPreviewEngine() {
    Close();
}

bool CPreviewEngine::Open(const CProject* project, const CTrack* track, int bufferMs) {
    TSQ_ENGINE_THREAD_ONLY();
    Close();
    if (project == nullptr || track == nullptr)
        return false;
    impl->project = project;
    impl->track = track;
    if (!impl->OpenDevice(this))
        return false;
    impl->bufferFrames = preview::BufferFrames(project->data.samplesPerSec, bufferMs);
    impl->bytes.assign(size_t(impl->bufferFrames) * preview::kBytesPerFrame * preview::kBuffers, 0);
    impl->mix.assign(size_t(impl->bufferFrames), 0.0);
    return true;
}

bool CPreviewEngine::Play(int key) {
    TSQ_ENGINE_THREAD_ONLY();
    if (impl->project == nullptr || !CPreviewVoice::ValidKey(key))
        return false;
    Stop();
    return NoteOn(key);
}

bool CPreviewEngine::NoteOn(int key, double level) {
    TSQ_ENGINE_THREAD_ONLY();
    if (impl->project == nullptr || !CPreviewVoice::ValidKey(key))
        return false;
    Impl::SLOT* slot = impl->SlotOf(key);
    if (slot == nullptr)
        slot = &impl->FreeOrOldestSlot();
    slot->voice.Start(*impl->project, *impl->track, key);
    slot->key = key;
    slot->level = preview::ClampVolume(level);
    slot->started = ++impl->starts;
    impl->Restream();
    return true;
}

void CPreviewEngine::NoteOff(int key) {
    TSQ_ENGINE_THREAD_ONLY();
    Impl::SLOT* slot = key >= 0 ? impl->SlotOf(key) : nullptr;
    if (slot == nullptr)
        return;
    slot->key = -1;
    impl->Restream();
}

void CPreviewEngine::Stop() {
    TSQ_ENGINE_THREAD_ONLY();
    if (impl->Newest() == nullptr)
        return;
    for (Impl::SLOT& slot : impl->voices)
        slot.key = -1;
    if (impl->device)
        impl->StopStream();
}

void CPreviewEngine::SetVolume(double volume) {
    TSQ_ENGINE_THREAD_ONLY();
    impl->volume = preview::ClampVolume(volume);
    if (impl->device)
        impl->device->SetVolume(preview::VolumeWord(impl->volume));
}

void CPreviewEngine::SetGain(double gain) {
    TSQ_ENGINE_THREAD_ONLY();
    impl->gain = gain;
}

void CPreviewEngine::Close() {
    TSQ_ENGINE_THREAD_ONLY();
    Stop();
    // Closing the device drops its undelivered notices, so nothing refers to the buffers
    // once it is gone.
    impl->device.reset();
    impl->bytes = {};
    impl->mix = {};
    impl->headers = {};
    impl->bufferFrames = 0;
    for (Impl::SLOT& slot : impl->voices)
        slot.voice.Release();
    impl->project = nullptr;
    impl->track = nullptr;
}

bool CPreviewEngine::IsOpen() const {
    return impl->device != nullptr;
}

bool CPreviewEngine::IsPlaying() const {
    return impl->Newest() != nullptr;
}

int CPreviewEngine::Key() const {
    const Impl::SLOT* newest = impl->Newest();
    return newest != nullptr ? newest->key : -1;
}

bool CPreviewEngine::IsSounding(int key) const {
    return key >= 0 && std::any_of(impl->voices.begin(), impl->voices.end(),
                                   [key](const Impl::SLOT& s) { return s.key == key; });
}

int CPreviewEngine::VoiceCount() const {
    return int(std::count_if(impl->voices.begin(), impl->voices.end(),
                             [](const Impl::SLOT& s) { return s.key >= 0; }));
}
