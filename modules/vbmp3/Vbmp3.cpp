// libvbmp3.so: decoding of sound files for the editor's audio file reader, and the
// audition of the PCM sound dialog.
//
// One module state serves every user in the process (the editor may hold several readers
// at once). The open file is only a path: each decoding and each audition opens it afresh,
// so a decoding never disturbs an audition that is playing, nor the other way round.

#include "modules/api/vbmp3.h"
#include "modules/common/ModuleExport.h"
#include "modules/vbmp3/CAudition.h"
#include "modules/vbmp3/DecodeToWav.h"

#include <QCoreApplication>

#include <atomic>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>

namespace {

struct MODULE_STATE {
    std::mutex lock; // guards everything below against concurrent callers
    int users = 0;
    std::string openPath;
    std::thread decoder;
    std::atomic<bool> decoding{false};
    std::atomic<bool> cancel{false};
    std::unique_ptr<CAudition> audition;

    ~MODULE_STATE() {
        StopDecoding();
        // Players hold Qt objects, which cannot be torn down once the application is gone.
        if (QCoreApplication::instance() == nullptr)
            static_cast<void>(audition.release());
    }

    void StopDecoding() {
        cancel.store(true);
        if (decoder.joinable())
            decoder.join();
        cancel.store(false);
        decoding.store(false);
    }
};

MODULE_STATE& State() {
    static MODULE_STATE state;
    return state;
}

void Describe(const SOURCE_FORMAT& f, VBMP3_INFO& info) {
    std::memset(&info, 0, sizeof info);
    info.channels = f.channels;
    info.samplesPerSec = int32_t(f.rate);
    info.bitsPerSample = f.bits;
    info.isMpeg = f.isMpeg ? 1 : 0;
    info.frames = f.frames;
    info.lengthMs = f.frames >= 0 ? f.frames * 1000 / f.rate : -1;
}

} // namespace

TSQ_MODULE_EXPORT int32_t vbmp3_init(void) {
    MODULE_STATE& s = State();
    std::lock_guard guard(s.lock);
    ++s.users;
    return 1;
}

TSQ_MODULE_EXPORT int32_t vbmp3_free(void) {
    MODULE_STATE& s = State();
    std::lock_guard guard(s.lock);
    if (s.users > 0 && --s.users == 0) {
        s.StopDecoding();
        s.openPath.clear();
        s.audition.reset();
    }
    return 1;
}

TSQ_MODULE_EXPORT int32_t vbmp3_open(const char* path, VBMP3_INFO* info) {
    MODULE_STATE& s = State();
    std::lock_guard guard(s.lock);
    s.StopDecoding();
    s.openPath.clear();
    if (path == nullptr || *path == '\0')
        return 0;
    const std::unique_ptr<ISourceDecoder> source = OpenSource(path);
    if (!source)
        return 0;
    if (info != nullptr)
        Describe(source->Format(), *info);
    s.openPath = path;
    return 1;
}

TSQ_MODULE_EXPORT int32_t vbmp3_close(void) {
    MODULE_STATE& s = State();
    std::lock_guard guard(s.lock);
    s.StopDecoding();
    s.openPath.clear();
    return 1;
}

TSQ_MODULE_EXPORT int32_t vbmp3_decodeWave(const char* wavPath) {
    MODULE_STATE& s = State();
    std::lock_guard guard(s.lock);
    s.StopDecoding();
    if (s.openPath.empty() || wavPath == nullptr || *wavPath == '\0')
        return 0;
    s.decoding.store(true);
    s.decoder = std::thread([&s, source = s.openPath, target = std::string(wavPath)] {
        DecodeToWav(source, target, s.cancel);
        s.decoding.store(false);
    });
    return 1;
}

TSQ_MODULE_EXPORT int32_t vbmp3_getState(VBMP3_STATE* state) {
    MODULE_STATE& s = State();
    std::lock_guard guard(s.lock);
    const bool decoding = s.decoding.load();
    if (state != nullptr) {
        state->decoding = decoding ? 1 : 0;
        state->playing = s.audition && s.audition->IsPlaying() ? 1 : 0;
        state->playedMs = s.audition ? int64_t(s.audition->Position() * 1000) : 0;
    }
    return decoding ? 1 : 0;
}

TSQ_MODULE_EXPORT int32_t vbmp3_play(void) {
    MODULE_STATE& s = State();
    std::lock_guard guard(s.lock);
    if (s.openPath.empty())
        return 0;
    if (!s.audition)
        s.audition = std::make_unique<CAudition>();
    return s.audition->Play(s.openPath) ? 1 : 0;
}

TSQ_MODULE_EXPORT int32_t vbmp3_stop(void) {
    MODULE_STATE& s = State();
    std::lock_guard guard(s.lock);
    if (s.audition)
        s.audition->Stop();
    return 1;
}
