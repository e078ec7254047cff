#pragma once
// The editor's clipboard formats. Each holds the record its storage operation writes at
// the current file version; the names double as the formats' MIME types.

inline constexpr const char* kClipNote = "TSQ_NOTE";
inline constexpr const char* kClipTrack = "TSQ_TRACK";
inline constexpr const char* kClipWaveMemory = "TSQ_WAVEMEMORY";
inline constexpr const char* kClipFm = "TSQ_FM";
