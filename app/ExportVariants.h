#pragma once
// The songs an export renders, each derived from the open one: a stem is the song with
// every other track muted, a loop is the song without the notes from the loop's end on
// (so what rings on past that end is only the loop's tail) and without the fade-out, and
// an Opus file's song is rendered at a rate Opus takes. Each is built and cached like any
// song, so exporting again after an edit renders only the seconds the edit touched.

#include "model/CProject.h"

#include <cstdint>
#include <string>

CProject StemOf(const CProject& song, size_t track);
CProject LoopOf(const CProject& song);
// Frame of song time at `tick` (counted from the song's start, without the leading silence).
int64_t FrameAt(const CProject& song, int32_t tick);
// A track name as a file name: no path separators or control characters, never empty.
std::string FileNamePart(const std::string& name, size_t track);
