#pragma once
// Entry points of the decoder module libvbmp3.so, as the editor's audio file reader calls
// them. The module decodes MP3 (through libmpg123) and everything libsndfile reads (WAV of
// any layout, FLAC, Ogg Vorbis and Opus, AIFF, ...) into a plain PCM WAV file, and plays
// an open file for an audition.
//
// Module state is process-wide: every caller that dlopens the module shares one open file,
// one decoding and one audition. Calls come from one thread at a time; decoding runs on the
// module's own thread.

#include <cstdint>

extern "C" {

// Filled by vbmp3_open; the editor provides it and never reads it.
struct VBMP3_INFO {
    int32_t channels;      // of the decoded output (1 or 2)
    int32_t samplesPerSec; // frames per second
    int32_t bitsPerSample; // of the decoded output: 8, 16, 24 (integer) or 32, 64 (float)
    int32_t isMpeg;        // 1 when libmpg123 decodes the file, 0 for libsndfile
    int64_t frames;        // length in frames, -1 when unknown
    int64_t lengthMs;      // length in milliseconds, -1 when unknown
    uint8_t reserved[32];
};

// Filled by vbmp3_getState; the editor provides it and never reads it.
struct VBMP3_STATE {
    int32_t decoding; // 1 while vbmp3_decodeWave's work runs
    int32_t playing;  // 1 while an audition sounds
    int64_t playedMs; // position of the audition
};

// Counts a user of the module. Returns 1.
int32_t vbmp3_init(void);
// Forgets a user; the last one stops the audition and any decoding. Returns 1.
int32_t vbmp3_free(void);
// Opens a sound file (path in the file system's encoding). Non-zero when the module can
// decode it; info, when not null, receives its description. A previous file is closed.
int32_t vbmp3_open(const char* path, VBMP3_INFO* info);
// Closes the open file, cancelling a decoding that is still running (its output file is
// removed). The audition is not affected. Returns 1.
int32_t vbmp3_close(void);
// Starts decoding the open file into a new WAV file at wavPath (an existing file of that
// name is never replaced) and returns at once: non-zero when the decoding started. The
// file holds "RIFF", "WAVE", a 16-byte "fmt " chunk and the "data" chunk, nothing else;
// samples keep the source's width where the editor's PCM voice plays it (8, 16, 24-bit
// integer, 32 or 64-bit float; 32-bit integer becomes 32-bit float, compressed sources
// 16-bit) and at most two channels (the first two of a wider source). A decoding that
// fails removes its file.
int32_t vbmp3_decodeWave(const char* wavPath);
// 1 while a decoding runs, 0 when the module is idle. state may be null.
int32_t vbmp3_getState(VBMP3_STATE* state);
// Plays the open file through the editor's wave-out device layer (so TSQ_AUDIO_DEVICE
// applies). Must be called on a thread that runs a Qt event loop of the running
// QCoreApplication; returns 0 without one, or when the file cannot be played.
int32_t vbmp3_play(void);
// Stops the audition. Returns 1.
int32_t vbmp3_stop(void);

using VBMP3_INIT = int32_t (*)(void);
using VBMP3_FREE = int32_t (*)(void);
using VBMP3_OPEN = int32_t (*)(const char*, VBMP3_INFO*);
using VBMP3_CLOSE = int32_t (*)(void);
using VBMP3_DECODEWAVE = int32_t (*)(const char*);
using VBMP3_GETSTATE = int32_t (*)(VBMP3_STATE*);
using VBMP3_PLAY = int32_t (*)(void);
using VBMP3_STOP = int32_t (*)(void);

} // extern "C"
