#pragma once
// tsq --encode FILE.tqp [--bitrate N]: builds what is stale, as the editor's "エンコード"
// does, then encodes the WAV file beside the project into an MP3 file with the stored (or
// the first available) encoder module.

#include <string>
#include <vector>

// args are the words after "--encode". Returns the exit status: 0 done, 1 failure (also
// when no encoder module is installed), 2 usage error, 130 cancelled.
int RunEncodeCommand(const std::vector<std::string>& args);
