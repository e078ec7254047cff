#include "preview/CPreviewEngine.h"

#include "audio/CWaveOut.h"
#include "audio/WaveHeader.h"
#include "model/CProject.h"
#include "preview/internal/CPreviewVoice.h"
#include "preview/internal/PreviewFormat.h"

#include <QThread>

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
    const CProject* project = nullptr;
    const CTrack* track = nullptr;
    double gain = 1.0;
    double volume = 1.0;
    std::unique_ptr<CWaveOut> device;
    int32_t bufferFrames = 0;
    std::vector<uint8_t> bytes; // the four buffers, one after the other
    std::array<WAVE_HEADER, preview::kBuffers> headers;
    int key = -1; // the key playing, -1 when none
    CPreviewVoice voice;

    bool OpenDevice(QObject* context);
    void StartStream();
    void StopStream();
    void Refill(WAVE_HEADER* header);
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
// refill cycle, so Play itself renders nothing.
void CPreviewEngine::Impl::StartStream() {
    for (size_t i = 0; i < headers.size(); ++i) {
        WAVE_HEADER& h = headers[i];
        h.data = bytes.data() + i * size_t(bufferFrames) * preview::kBytesPerFrame;
        h.length = 0;
        device->Prepare(h);
        device->Write(h);
    }
}

// Every queued header comes back done at once. Their notices still arrive later; they find
// the headers no longer prepared (or written again by the next key) and are ignored.
void CPreviewEngine::Impl::StopStream() {
    device->Reset();
    for (WAVE_HEADER& h : headers)
        device->Unprepare(h);
}

// Buffers are filled in the order the device hands them back, which is the order they
// play in; a notice for a header that is not done, not prepared or queued again is stale.
void CPreviewEngine::Impl::Refill(WAVE_HEADER* header) {
    if (key < 0 || header < headers.data() || header >= headers.data() + headers.size())
        return;
    const uint32_t flags = header->flags;
    if (!(flags & WAVE_HEADER::kDone) || !(flags & WAVE_HEADER::kPrepared) ||
        (flags & WAVE_HEADER::kInQueue))
        return;
    voice.Render(header->data, bufferFrames, gain);
    header->length = uint32_t(bufferFrames) * preview::kBytesPerFrame;
    device->Write(*header);
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
    return true;
}

bool CPreviewEngine::Play(int key) {
    TSQ_ENGINE_THREAD_ONLY();
    if (impl->project == nullptr || !CPreviewVoice::ValidKey(key))
        return false;
    Stop();
    impl->voice.Start(*impl->project, *impl->track, key);
    impl->key = key;
    if (impl->device)
        impl->StartStream();
    return true;
}

void CPreviewEngine::Stop() {
    TSQ_ENGINE_THREAD_ONLY();
    if (impl->key < 0)
        return;
    impl->key = -1;
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
    impl->headers = {};
    impl->bufferFrames = 0;
    impl->voice.Release();
    impl->project = nullptr;
    impl->track = nullptr;
}

bool CPreviewEngine::IsOpen() const {
    return impl->device != nullptr;
}

bool CPreviewEngine::IsPlaying() const {
    return impl->key >= 0;
}

int CPreviewEngine::Key() const {
    return impl->key;
}
