#pragma once
// tsq --render FILE.tqp [--output OUT.wav] [--rebuild] [--threads N] [--ignore-missing-samples]

#include "app/CArgumentParser.h"
#include "engine/IBuildEvents.h"

#include <string>
#include <vector>

// args are the words after "--render". Returns the exit status.
int RunRenderCommand(const std::vector<std::string>& args);

// Where sample paths relative to the documents folder are found, as the editor has it.
void UseDocumentsFolder();
// The exit status of a mode that ended so (0, 130 after Ctrl+C, 1 after a failure), with
// the message printed: `cancelled` says what became of the work, `message` why it failed.
int ExitStatus(BuildStatus status, const std::string& message, const char* cancelled);
// "--threads N" of the modes that build: at least 1, more than the build runs taken as its most.
CArgumentParser::TakeValue ThreadCountInto(int64_t& threads);
