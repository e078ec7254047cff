#pragma once
// tsq --export FILE.tqp --format wav|flac|ogg|opus [--stems] [--loop N] [--fade MS]
//     [--quality Q] [--output PATH] [--threads N] [--ignore-missing-samples]

#include <string>
#include <vector>

// args are the words after "--export". Returns the exit status.
int RunExportCommand(const std::vector<std::string>& args);
