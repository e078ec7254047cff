// libgogo.so: the frame-by-frame interface of the encoder bridge over libmp3lame, reading
// its input with libsndfile (every sample width and layout it knows, as floats).
//
// One encoding exists at a time, as the interface has no handles. Calls out of order are
// answered with ME_HALTED instead of touching what is not there.

#include "modules/api/gogo.h"
#include "modules/common/LameTag.h"
#include "modules/common/ModuleExport.h"

#include <lame/lame.h>
#include <sndfile.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace {

constexpr uint32_t kDefaultBitRate = 128;
constexpr unsigned long kVersionCode = 0x0100;

struct LameCloser {
    void operator()(lame_global_flags* lame) const { lame_close(lame); }
};
struct SndCloser {
    void operator()(SNDFILE* file) const { sf_close(file); }
};
struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

struct SETTINGS {
    std::string input;
    std::string output;
    bool modeSet = false;
    UPARAM mode = MC_MODE_JOINT;
    uint32_t bitRate = kDefaultBitRate;
    uint32_t outFreq = 0;
};

struct ENCODING {
    std::unique_ptr<SNDFILE, SndCloser> input;
    std::unique_ptr<std::FILE, FileCloser> output;
    std::unique_ptr<lame_global_flags, LameCloser> lame;
    int channels = 0;
    int frameSize = 0;
    uint32_t frameCount = 0;
    std::vector<float> pcm;
    std::vector<uint8_t> mp3;
};

struct MODULE_STATE {
    std::mutex lock;
    SETTINGS settings;
    std::unique_ptr<ENCODING> encoding;
};

MODULE_STATE& State() {
    static MODULE_STATE state;
    return state;
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xF0 | (c >> 18));
        out += char(0x80 | ((c >> 12) & 0x3F));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

// A NUL-terminated UTF-16 path as UTF-8; false when it is missing, too long or malformed.
bool PathFromUtf16(UPARAM address, std::string& path) {
    const auto* text = reinterpret_cast<const char16_t*>(address);
    if (text == nullptr)
        return false;
    path.clear();
    for (uint32_t i = 0; text[i] != 0; ++i) {
        if (i >= MC_MAX_PATH)
            return false;
        char32_t c = text[i];
        if (c >= 0xD800 && c < 0xDC00) {
            const char32_t low = text[i + 1];
            if (low < 0xDC00 || low >= 0xE000)
                return false;
            c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
            ++i;
        } else if (c >= 0xDC00 && c < 0xE000) {
            return false;
        }
        AppendUtf8(path, c);
    }
    return !path.empty();
}

MPEG_mode ModeOf(const SETTINGS& s, int channels) {
    if (channels == 1)
        return MONO;
    if (!s.modeSet)
        return JOINT_STEREO;
    return s.mode == MC_MODE_STEREO ? STEREO : JOINT_STEREO;
}

MERET MakeEncoder(const SETTINGS& s, ENCODING& e, const SF_INFO& info) {
    e.lame.reset(lame_init());
    if (!e.lame)
        return ME_INTERNALERROR;
    lame_t lame = e.lame.get();
    lame_set_in_samplerate(lame, info.samplerate);
    lame_set_num_channels(lame, info.channels);
    lame_set_mode(lame, ModeOf(s, info.channels));
    if (s.outFreq != 0)
        lame_set_out_samplerate(lame, int(s.outFreq));
    lame_set_brate(lame, int(s.bitRate));
    lame_set_quality(lame, 2);
    lame_set_bWriteVbrTag(lame, 1);
    if (lame_init_params(lame) < 0)
        return ME_FREQERROR;
    e.frameSize = lame_get_framesize(lame);
    e.frameCount = uint32_t((info.frames + e.frameSize - 1) / e.frameSize);
    e.pcm.resize(size_t(e.frameSize) * size_t(info.channels));
    e.mp3.resize(size_t(e.frameSize) + size_t(e.frameSize) / 4 + 7200);
    return ME_NOERR;
}

MERET Detect(MODULE_STATE& st) {
    const SETTINGS& s = st.settings;
    if (s.bitRate == 0 || s.bitRate > 320)
        return ME_BITRATEERROR;
    auto e = std::make_unique<ENCODING>();
    SF_INFO info{};
    e->input.reset(sf_open(s.input.c_str(), SFM_READ, &info));
    if (!e->input)
        return ME_INFILE_NOFOUND;
    if (info.channels < 1 || info.channels > 2 || info.samplerate <= 0 || info.frames < 0 ||
        uint64_t(info.frames) > uint64_t(0xFFFFFFFF) * 64)
        return ME_WAVETYPE_ERR;
    if (s.output.empty() || s.output == s.input)
        return ME_OUTFILE_NOFOUND;
    if (const MERET r = MakeEncoder(s, *e, info); r != ME_NOERR)
        return r;
    e->output.reset(std::fopen(s.output.c_str(), "wbe"));
    if (!e->output)
        return ME_OUTFILE_NOFOUND;
    e->channels = info.channels;
    st.encoding = std::move(e);
    return ME_NOERR;
}

bool WriteOut(ENCODING& e, int bytes) {
    return bytes >= 0 &&
           std::fwrite(e.mp3.data(), 1, size_t(bytes), e.output.get()) == size_t(bytes);
}

MERET ProcessFrame(ENCODING& e) {
    const sf_count_t frames = sf_readf_float(e.input.get(), e.pcm.data(), e.frameSize);
    if (frames <= 0)
        return ME_EMPTYSTREAM;
    lame_t lame = e.lame.get();
    const int size = int(e.mp3.size());
    const int n = e.channels == 1 ? lame_encode_buffer_ieee_float(lame, e.pcm.data(), e.pcm.data(),
                                                                  int(frames), e.mp3.data(), size)
                                  : lame_encode_buffer_interleaved_ieee_float(
                                        lame, e.pcm.data(), int(frames), e.mp3.data(), size);
    return WriteOut(e, n) ? ME_NOERR : ME_WRITEERROR;
}

MERET CloseCoder(MODULE_STATE& st) {
    ENCODING& e = *st.encoding;
    bool ok = WriteOut(e, lame_encode_flush(e.lame.get(), e.mp3.data(), int(e.mp3.size())));
    const std::vector<uint8_t> tag = TakeLameTagFrame(e.lame.get());
    ok = std::fclose(e.output.release()) == 0 && ok;
    e.input.reset();
    if (ok)
        ok = WriteLameTagFrame(st.settings.output, tag);
    return ok ? ME_NOERR : ME_WRITEERROR;
}

} // namespace

TSQ_MODULE_EXPORT MERET MPGE_initializeWork(void) {
    MODULE_STATE& st = State();
    std::lock_guard guard(st.lock);
    st.encoding.reset();
    st.settings = SETTINGS{};
    return ME_NOERR;
}

TSQ_MODULE_EXPORT MERET MPGE_setConfigure(MPARAM mode, UPARAM dwPara1, UPARAM dwPara2) {
    MODULE_STATE& st = State();
    std::lock_guard guard(st.lock);
    if (st.encoding)
        return ME_HALTED;
    SETTINGS& s = st.settings;
    switch (mode) {
    case MC_INPUTFILE:
        return dwPara1 == MC_INPDEV_FILE && PathFromUtf16(dwPara2, s.input) ? ME_NOERR
                                                                            : ME_PARAMERROR;
    case MC_OUTPUTFILE:
        return dwPara1 == MC_OUTDEV_FILE && PathFromUtf16(dwPara2, s.output) ? ME_NOERR
                                                                             : ME_PARAMERROR;
    case MC_ENCODEMODE:
        if (dwPara1 > MC_MODE_JOINT)
            return ME_PARAMERROR;
        s.modeSet = true;
        s.mode = dwPara1;
        return ME_NOERR;
    case MC_BITRATE:
        s.bitRate = uint32_t(std::min<UPARAM>(dwPara1, 0xFFFFFFFF));
        return ME_NOERR;
    case MC_OUTFREQ:
        s.outFreq = uint32_t(std::min<UPARAM>(dwPara1, 48000));
        return ME_NOERR;
    default:
        return ME_PARAMERROR;
    }
}

TSQ_MODULE_EXPORT MERET MPGE_getConfigure(MPARAM mode, void* para1) {
    MODULE_STATE& st = State();
    std::lock_guard guard(st.lock);
    if (para1 == nullptr)
        return ME_PARAMERROR;
    uint32_t value = 0;
    const ENCODING* e = st.encoding.get();
    switch (mode) {
    case MG_BITRATE:
        value = st.settings.bitRate;
        break;
    case MG_INPFREQ:
        value = e ? uint32_t(lame_get_in_samplerate(e->lame.get())) : 0;
        break;
    case MG_OUTFREQ:
        value = e ? uint32_t(lame_get_out_samplerate(e->lame.get())) : 0;
        break;
    case MG_COUNT_FRAME:
        value = e ? e->frameCount : 0;
        break;
    default:
        return ME_PARAMERROR;
    }
    std::memcpy(para1, &value, sizeof value);
    return ME_NOERR;
}

TSQ_MODULE_EXPORT MERET MPGE_detectConfigure(void) {
    MODULE_STATE& st = State();
    std::lock_guard guard(st.lock);
    if (st.encoding)
        return ME_HALTED;
    return Detect(st);
}

TSQ_MODULE_EXPORT MERET MPGE_processFrame(void) {
    MODULE_STATE& st = State();
    std::lock_guard guard(st.lock);
    if (!st.encoding || !st.encoding->output)
        return ME_HALTED;
    return ProcessFrame(*st.encoding);
}

TSQ_MODULE_EXPORT MERET MPGE_closeCoder(void) {
    MODULE_STATE& st = State();
    std::lock_guard guard(st.lock);
    if (!st.encoding || !st.encoding->output)
        return ME_HALTED;
    return CloseCoder(st);
}

TSQ_MODULE_EXPORT MERET MPGE_endCoder(void) {
    MODULE_STATE& st = State();
    std::lock_guard guard(st.lock);
    st.encoding.reset();
    return ME_NOERR;
}

TSQ_MODULE_EXPORT MERET MPGE_getUnitStates(unsigned long* unit) {
    if (unit == nullptr)
        return ME_PARAMERROR;
    *unit = 0;
    return ME_NOERR;
}

TSQ_MODULE_EXPORT MERET MPGE_getVersion(unsigned long* vercode, char* verstring) {
    if (vercode != nullptr)
        *vercode = kVersionCode;
    if (verstring != nullptr)
        std::snprintf(verstring, MGV_BUFLENGTH, "gogo for Tesselaphon Editor over LAME %s",
                      get_lame_version());
    return ME_NOERR;
}
