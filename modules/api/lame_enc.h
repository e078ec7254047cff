#pragma once
// Entry points of the encoder module liblame_enc.so (over libmp3lame), as the encoder
// bridge calls them: a stream opened with a 331-byte configuration record, fed chunks of
// interleaved 16-bit samples, flushed, closed, and finished by writing the info tag into
// the first frame of the MP3 file.

#include <cstddef>
#include <cstdint>

extern "C" {

using BE_ERR = uint32_t;
using HBE_STREAM = uintptr_t;

inline constexpr BE_ERR BE_ERR_SUCCESSFUL = 0x00000000;
inline constexpr BE_ERR BE_ERR_INVALID_FORMAT = 0x00000001;
inline constexpr BE_ERR BE_ERR_INVALID_FORMAT_PARAMETERS = 0x00000002;
inline constexpr BE_ERR BE_ERR_NO_MORE_HANDLES = 0x00000003;
inline constexpr BE_ERR BE_ERR_INVALID_HANDLE = 0x00000004;
inline constexpr BE_ERR BE_ERR_BUFFER_TOO_SMALL = 0x00000005;

inline constexpr uint32_t BE_CONFIG_LAME = 256;
inline constexpr uint32_t BE_CONFIG_SIZE = 331;

inline constexpr int32_t BE_MP3_MODE_STEREO = 0;
inline constexpr int32_t BE_MP3_MODE_JSTEREO = 1;
inline constexpr int32_t BE_MP3_MODE_DUALCHANNEL = 2;
inline constexpr int32_t BE_MP3_MODE_MONO = 3;

inline constexpr int32_t VBR_METHOD_NONE = -1;
inline constexpr int32_t VBR_METHOD_DEFAULT = 0;
inline constexpr int32_t VBR_METHOD_OLD = 1;
inline constexpr int32_t VBR_METHOD_NEW = 2;
inline constexpr int32_t VBR_METHOD_MTRH = 3;
inline constexpr int32_t VBR_METHOD_ABR = 4;

// The extended LAME configuration record: 331 bytes, little-endian, no padding.
#pragma pack(push, 1)
struct BE_CONFIG {
    uint32_t dwConfig;        // BE_CONFIG_LAME
    uint32_t dwStructVersion; // 1
    uint32_t dwStructSize;    // BE_CONFIG_SIZE
    uint32_t dwSampleRate;    // of the input
    uint32_t dwReSampleRate;  // of the output, 0 = the encoder decides
    int32_t nMode;            // BE_MP3_MODE_*; mono takes one input channel, the rest two
    uint32_t dwBitrate;       // kbit/s: the constant rate, or the least rate with VBR
    uint32_t dwMaxBitrate;    // kbit/s, VBR only; 0 = no limit
    int32_t nPreset;
    uint32_t dwMpegVersion;
    uint32_t dwPsyModel;
    uint32_t dwEmphasis;
    int32_t bPrivate;
    int32_t bCRC;
    int32_t bCopyright;
    int32_t bOriginal;
    int32_t bWriteVBRHeader;
    int32_t bEnableVBR;
    int32_t nVBRQuality; // 0 (best) .. 9
    uint32_t dwVbrAbr_bps;
    int32_t nVbrMethod; // VBR_METHOD_*
    int32_t bNoRes;     // no bit reservoir
    int32_t bStrictIso;
    uint16_t nQuality; // low byte = quality 0..9 when the high byte is its complement
    uint8_t btReserved[237];
};
#pragma pack(pop)
static_assert(sizeof(BE_CONFIG) == BE_CONFIG_SIZE);
static_assert(offsetof(BE_CONFIG, nMode) == 20 && offsetof(BE_CONFIG, bOriginal) == 60 &&
              offsetof(BE_CONFIG, bEnableVBR) == 68 && offsetof(BE_CONFIG, bNoRes) == 84 &&
              offsetof(BE_CONFIG, nQuality) == 92);

#pragma pack(push, 1)
struct BE_VERSION {
    uint8_t byDLLMajorVersion;
    uint8_t byDLLMinorVersion;
    uint8_t byMajorVersion; // of libmp3lame
    uint8_t byMinorVersion;
    uint8_t byDay;
    uint8_t byMonth;
    uint16_t wYear;
    char zHomepage[129];
    uint8_t byAlphaLevel;
    uint8_t byBetaLevel;
    uint8_t byMMXEnabled;
    uint8_t btReserved[125];
};
#pragma pack(pop)

// samples receives the number of 16-bit samples (all channels) to pass per chunk,
// bufferSize the output buffer size in bytes that beEncodeChunk and beDeinitStream need.
BE_ERR beInitStream(const BE_CONFIG* config, uint32_t* samples, uint32_t* bufferSize,
                    HBE_STREAM* stream);
// Encodes up to `samples` interleaved samples (at most the chunk size of beInitStream).
BE_ERR beEncodeChunk(HBE_STREAM stream, uint32_t samples, const int16_t* input, uint8_t* output,
                     uint32_t* outputBytes);
// Flushes what the encoder holds back.
BE_ERR beDeinitStream(HBE_STREAM stream, uint8_t* output, uint32_t* outputBytes);
// Ends the stream; its info tag stays available to beWriteInfoTag and beWriteVBRHeader.
BE_ERR beCloseStream(HBE_STREAM stream);
void beVersion(BE_VERSION* version);
// Writes the info tag of the stream closed last into the first frame of the MP3 file.
BE_ERR beWriteVBRHeader(const char* mp3Path);
// Writes the info tag of a closed stream into the first frame of the MP3 file.
BE_ERR beWriteInfoTag(HBE_STREAM stream, const char* mp3Path);

using BEINITSTREAM = BE_ERR (*)(const BE_CONFIG*, uint32_t*, uint32_t*, HBE_STREAM*);
using BEENCODECHUNK = BE_ERR (*)(HBE_STREAM, uint32_t, const int16_t*, uint8_t*, uint32_t*);
using BEDEINITSTREAM = BE_ERR (*)(HBE_STREAM, uint8_t*, uint32_t*);
using BECLOSESTREAM = BE_ERR (*)(HBE_STREAM);
using BEVERSION = void (*)(BE_VERSION*);
using BEWRITEVBRHEADER = BE_ERR (*)(const char*);
using BEWRITEINFOTAG = BE_ERR (*)(HBE_STREAM, const char*);

} // extern "C"
