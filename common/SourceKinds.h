#pragma once
// The names of the sound sources, as the track dialog lists them and the track list reads
// them out to screen readers. Indexed by the track's waveform (0 square … 7 FM).

#include <QString>

constexpr int kSourceKindCount = 8;

// The name of a source kind; empty outside 0 … kSourceKindCount − 1.
QString SourceKindName(int kind);
