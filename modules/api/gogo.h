#pragma once
// Entry points of the encoder module libgogo.so (over libmp3lame), as the encoder bridge
// calls them: one encoding at a time, configured by numbered settings, that reads a sound
// file and writes an MP3 file frame by frame.

#include <cstdint>

extern "C" {

using MERET = int32_t;
using MPARAM = uint32_t;
using UPARAM = uintptr_t;

inline constexpr MERET ME_NOERR = 0;
inline constexpr MERET ME_EMPTYSTREAM = 1; // no input left: the encoding is complete
inline constexpr MERET ME_HALTED = 2;      // called out of order
inline constexpr MERET ME_INTERNALERROR = 10;
inline constexpr MERET ME_PARAMERROR = 11;
inline constexpr MERET ME_INFILE_NOFOUND = 13;
inline constexpr MERET ME_OUTFILE_NOFOUND = 14;
inline constexpr MERET ME_FREQERROR = 15;
inline constexpr MERET ME_BITRATEERROR = 16;
inline constexpr MERET ME_WAVETYPE_ERR = 17;
inline constexpr MERET ME_WRITEERROR = 24;

// MPGE_setConfigure settings.
inline constexpr MPARAM MC_INPUTFILE = 1;  // dwPara1 MC_INPDEV_FILE, dwPara2 UTF-16 path
inline constexpr MPARAM MC_OUTPUTFILE = 2; // dwPara1 MC_OUTDEV_FILE, dwPara2 UTF-16 path
inline constexpr MPARAM MC_ENCODEMODE = 3; // dwPara1 MC_MODE_*
inline constexpr MPARAM MC_BITRATE = 4;    // dwPara1 kbit/s
inline constexpr MPARAM MC_OUTFREQ = 6;    // dwPara1 Hz, 0 = the encoder decides
inline constexpr UPARAM MC_INPDEV_FILE = 0;
inline constexpr UPARAM MC_OUTDEV_FILE = 0;
inline constexpr UPARAM MC_MODE_MONO = 0;
inline constexpr UPARAM MC_MODE_STEREO = 1;
inline constexpr UPARAM MC_MODE_JOINT = 2;
// Longest path accepted through MC_INPUTFILE and MC_OUTPUTFILE, in UTF-16 units.
inline constexpr uint32_t MC_MAX_PATH = 4096;

// MPGE_getConfigure settings.
inline constexpr MPARAM MG_BITRATE = 4;      // uint32_t kbit/s
inline constexpr MPARAM MG_INPFREQ = 5;      // uint32_t Hz of the input
inline constexpr MPARAM MG_OUTFREQ = 6;      // uint32_t Hz of the output
inline constexpr MPARAM MG_COUNT_FRAME = 15; // uint32_t calls of MPGE_processFrame needed

// Size of the text buffer MPGE_getVersion writes into.
inline constexpr uint32_t MGV_BUFLENGTH = 260;

// Forgets any earlier encoding and restores the default settings.
MERET MPGE_initializeWork(void);
MERET MPGE_setConfigure(MPARAM mode, UPARAM dwPara1, UPARAM dwPara2);
MERET MPGE_getConfigure(MPARAM mode, void* para1);
// Opens both files and prepares the encoder from the settings.
MERET MPGE_detectConfigure(void);
// Encodes one frame's worth of input; ME_EMPTYSTREAM when none is left.
MERET MPGE_processFrame(void);
// Flushes, writes the info tag into the first frame and closes both files.
MERET MPGE_closeCoder(void);
// Releases the encoder.
MERET MPGE_endCoder(void);
MERET MPGE_getUnitStates(unsigned long* unit);
// vercode receives the version number, verstring (MGV_BUFLENGTH bytes) its text.
MERET MPGE_getVersion(unsigned long* vercode, char* verstring);

using MPGE_INITIALIZEWORK = MERET (*)(void);
using MPGE_SETCONFIGURE = MERET (*)(MPARAM, UPARAM, UPARAM);
using MPGE_GETCONFIGURE = MERET (*)(MPARAM, void*);
using MPGE_DETECTCONFIGURE = MERET (*)(void);
using MPGE_PROCESSFRAME = MERET (*)(void);
using MPGE_CLOSECODER = MERET (*)(void);
using MPGE_ENDCODER = MERET (*)(void);
using MPGE_GETUNITSTATES = MERET (*)(unsigned long*);
using MPGE_GETVERSION = MERET (*)(unsigned long*, char*);

} // extern "C"
