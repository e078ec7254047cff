// liblame_enc.so: the stream interface of the encoder bridge over libmp3lame.
//
// Streams are numbered handles, never pointers, so a stale or made-up handle is refused
// instead of followed. A closed stream keeps only its finished info tag, for
// beWriteInfoTag or beWriteVBRHeader; the last few closed streams are remembered.

#include "modules/api/lame_enc.h"
#include "modules/common/LameTag.h"
#include "modules/common/ModuleExport.h"

#include <lame/lame.h>

#include <algorithm>
#include <bit>
#include <cstring>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

static_assert(std::endian::native == std::endian::little,
              "the configuration record is read in place as little-endian");

namespace {

constexpr size_t kClosedKept = 8;

struct LameCloser {
    void operator()(lame_global_flags* lame) const { lame_close(lame); }
};
using LamePtr = std::unique_ptr<lame_global_flags, LameCloser>;

struct STREAM {
    LamePtr lame; // null once closed
    int channels = 2;
    uint32_t chunkSamples = 0; // 16-bit samples of all channels per chunk
    uint32_t bufferSize = 0;   // output bytes a chunk or the flush may need
    std::vector<uint8_t> tag;  // the finished info tag, after beCloseStream
};

struct MODULE_STATE {
    std::mutex lock;
    std::map<HBE_STREAM, STREAM> streams;
    std::deque<HBE_STREAM> closed; // oldest first
    HBE_STREAM nextHandle = 1;
};

MODULE_STATE& State() {
    static MODULE_STATE state;
    return state;
}

MPEG_mode ModeOf(int32_t mode) {
    switch (mode) {
    case BE_MP3_MODE_JSTEREO:
        return JOINT_STEREO;
    case BE_MP3_MODE_DUALCHANNEL:
        return DUAL_CHANNEL;
    case BE_MP3_MODE_MONO:
        return MONO;
    default:
        return STEREO;
    }
}

vbr_mode VbrOf(const BE_CONFIG& c) {
    if (!c.bEnableVBR)
        return vbr_off;
    switch (c.nVbrMethod) {
    case VBR_METHOD_NONE:
        return vbr_off;
    case VBR_METHOD_OLD:
        return vbr_rh;
    case VBR_METHOD_ABR:
        return vbr_abr;
    default:
        return vbr_mtrh;
    }
}

void ApplyRate(lame_t lame, const BE_CONFIG& c) {
    const vbr_mode vbr = VbrOf(c);
    lame_set_VBR(lame, vbr);
    if (vbr == vbr_off) {
        lame_set_brate(lame, int(c.dwBitrate));
        return;
    }
    lame_set_VBR_quality(lame, float(std::clamp(c.nVBRQuality, 0, 9)));
    if (vbr == vbr_abr)
        lame_set_VBR_mean_bitrate_kbps(lame, int(c.dwVbrAbr_bps / 1000));
    if (c.dwBitrate != 0)
        lame_set_VBR_min_bitrate_kbps(lame, int(c.dwBitrate));
    if (c.dwMaxBitrate != 0)
        lame_set_VBR_max_bitrate_kbps(lame, int(c.dwMaxBitrate));
}

// Fills an encoder from the record; false when the record makes no sense.
bool Configure(lame_t lame, const BE_CONFIG& c) {
    if (c.dwSampleRate == 0 || c.dwSampleRate > 1000000 || c.dwBitrate > 640)
        return false;
    lame_set_in_samplerate(lame, int(c.dwSampleRate));
    if (c.dwReSampleRate != 0)
        lame_set_out_samplerate(lame, int(c.dwReSampleRate));
    lame_set_num_channels(lame, c.nMode == BE_MP3_MODE_MONO ? 1 : 2);
    lame_set_mode(lame, ModeOf(c.nMode));
    ApplyRate(lame, c);
    const int low = c.nQuality & 0xFF;
    const int high = c.nQuality >> 8;
    lame_set_quality(lame, high == (~low & 0xFF) ? std::min(low, 9) : 5);
    lame_set_extension(lame, c.bPrivate != 0);
    lame_set_error_protection(lame, c.bCRC != 0);
    lame_set_copyright(lame, c.bCopyright != 0);
    lame_set_original(lame, c.bOriginal != 0);
    lame_set_emphasis(lame, int(std::min<uint32_t>(c.dwEmphasis, 3)));
    lame_set_disable_reservoir(lame, c.bNoRes != 0);
    lame_set_strict_ISO(lame, c.bStrictIso != 0);
    // The info tag is always reserved: its delay and padding fields are what let decoders
    // return exactly the samples that went in.
    lame_set_bWriteVbrTag(lame, 1);
    return lame_init_params(lame) >= 0;
}

STREAM* Find(MODULE_STATE& s, HBE_STREAM handle) {
    const auto it = s.streams.find(handle);
    return it == s.streams.end() ? nullptr : &it->second;
}

void Close(MODULE_STATE& s, HBE_STREAM handle, STREAM& stream) {
    stream.tag = TakeLameTagFrame(stream.lame.get());
    stream.lame.reset();
    s.closed.push_back(handle);
    while (s.closed.size() > kClosedKept) {
        s.streams.erase(s.closed.front());
        s.closed.pop_front();
    }
}

BE_ERR WriteTag(MODULE_STATE& s, HBE_STREAM handle, const char* path) {
    STREAM* stream = Find(s, handle);
    if (stream == nullptr)
        return BE_ERR_INVALID_HANDLE;
    if (stream->lame)
        Close(s, handle, *stream);
    const bool written = path != nullptr && WriteLameTagFrame(path, stream->tag);
    return written ? BE_ERR_SUCCESSFUL : BE_ERR_INVALID_FORMAT_PARAMETERS;
}

} // namespace

TSQ_MODULE_EXPORT BE_ERR beInitStream(const BE_CONFIG* config, uint32_t* samples,
                                      uint32_t* bufferSize, HBE_STREAM* stream) {
    if (config == nullptr || samples == nullptr || bufferSize == nullptr || stream == nullptr)
        return BE_ERR_INVALID_FORMAT_PARAMETERS;
    if (config->dwConfig != BE_CONFIG_LAME || config->dwStructSize < BE_CONFIG_SIZE)
        return BE_ERR_INVALID_FORMAT;
    LamePtr lame(lame_init());
    if (!lame)
        return BE_ERR_NO_MORE_HANDLES;
    if (!Configure(lame.get(), *config))
        return BE_ERR_INVALID_FORMAT_PARAMETERS;
    STREAM created;
    created.channels = lame_get_num_channels(lame.get());
    const auto frame = uint32_t(lame_get_framesize(lame.get()));
    created.chunkSamples = frame * uint32_t(created.channels);
    // LAME's worst case for n samples per channel: 1.25 n + 7200 bytes.
    created.bufferSize = frame + frame / 4 + 7200;
    created.lame = std::move(lame);
    MODULE_STATE& s = State();
    std::lock_guard guard(s.lock);
    const HBE_STREAM handle = s.nextHandle++;
    *samples = created.chunkSamples;
    *bufferSize = created.bufferSize;
    *stream = handle;
    s.streams.emplace(handle, std::move(created));
    return BE_ERR_SUCCESSFUL;
}

TSQ_MODULE_EXPORT BE_ERR beEncodeChunk(HBE_STREAM handle, uint32_t samples, const int16_t* input,
                                       uint8_t* output, uint32_t* outputBytes) {
    MODULE_STATE& s = State();
    std::lock_guard guard(s.lock);
    STREAM* stream = Find(s, handle);
    if (stream == nullptr || !stream->lame)
        return BE_ERR_INVALID_HANDLE;
    if (output == nullptr || outputBytes == nullptr || (samples > 0 && input == nullptr))
        return BE_ERR_INVALID_FORMAT_PARAMETERS;
    if (samples > stream->chunkSamples)
        return BE_ERR_BUFFER_TOO_SMALL;
    const int frames = int(samples / uint32_t(stream->channels));
    lame_t lame = stream->lame.get();
    const int size = int(stream->bufferSize);
    const int n = stream->channels == 1
                      ? lame_encode_buffer(lame, input, input, frames, output, size)
                      : lame_encode_buffer_interleaved(lame, const_cast<int16_t*>(input), frames,
                                                       output, size);
    if (n < 0)
        return BE_ERR_INVALID_FORMAT_PARAMETERS;
    *outputBytes = uint32_t(n);
    return BE_ERR_SUCCESSFUL;
}

TSQ_MODULE_EXPORT BE_ERR beDeinitStream(HBE_STREAM handle, uint8_t* output, uint32_t* outputBytes) {
    MODULE_STATE& s = State();
    std::lock_guard guard(s.lock);
    STREAM* stream = Find(s, handle);
    if (stream == nullptr || !stream->lame)
        return BE_ERR_INVALID_HANDLE;
    if (output == nullptr || outputBytes == nullptr)
        return BE_ERR_INVALID_FORMAT_PARAMETERS;
    const int n = lame_encode_flush(stream->lame.get(), output, int(stream->bufferSize));
    if (n < 0)
        return BE_ERR_INVALID_FORMAT_PARAMETERS;
    *outputBytes = uint32_t(n);
    return BE_ERR_SUCCESSFUL;
}

TSQ_MODULE_EXPORT BE_ERR beCloseStream(HBE_STREAM handle) {
    MODULE_STATE& s = State();
    std::lock_guard guard(s.lock);
    STREAM* stream = Find(s, handle);
    if (stream == nullptr || !stream->lame)
        return BE_ERR_INVALID_HANDLE;
    Close(s, handle, *stream);
    return BE_ERR_SUCCESSFUL;
}

TSQ_MODULE_EXPORT void beVersion(BE_VERSION* version) {
    if (version == nullptr)
        return;
    std::memset(version, 0, sizeof *version);
    lame_version_t lame{};
    get_lame_version_numerical(&lame);
    version->byDLLMajorVersion = 1;
    version->byDLLMinorVersion = 32;
    version->byMajorVersion = uint8_t(lame.major);
    version->byMinorVersion = uint8_t(lame.minor);
    version->byAlphaLevel = uint8_t(lame.alpha);
    version->byBetaLevel = uint8_t(lame.beta);
    std::strncpy(version->zHomepage, get_lame_url(), sizeof version->zHomepage - 1);
}

TSQ_MODULE_EXPORT BE_ERR beWriteVBRHeader(const char* mp3Path) {
    MODULE_STATE& s = State();
    std::lock_guard guard(s.lock);
    if (s.closed.empty())
        return BE_ERR_INVALID_HANDLE;
    return WriteTag(s, s.closed.back(), mp3Path);
}

TSQ_MODULE_EXPORT BE_ERR beWriteInfoTag(HBE_STREAM handle, const char* mp3Path) {
    MODULE_STATE& s = State();
    std::lock_guard guard(s.lock);
    return WriteTag(s, handle, mp3Path);
}
