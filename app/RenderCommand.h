#pragma once
// tsq --render FILE.tqp [--output OUT.wav] [--rebuild] [--threads N] [--ignore-missing-samples]

#include <string>
#include <vector>

// args are the words after "--render". Returns the exit status.
int RunRenderCommand(const std::vector<std::string>& args);

// Where sample paths relative to the documents folder are found, as the editor has it.
void UseDocumentsFolder();
