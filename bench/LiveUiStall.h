#pragma once
// The user-interface thread while the editor plays live: see LiveUiStall.cpp.

#include <string>

// Plays a copy of the song in the real main frame (offscreen) with the metronome on and an
// edit every 100 ms, and prints how long the event loop was away at most and at the 99th
// percentile. Needs a QApplication. Returns a process exit status.
int RunUiStallBench(const std::string& songPath);
