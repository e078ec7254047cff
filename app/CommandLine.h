#pragma once
// The headless modes of the tsq program. They run without a display and never create a
// GUI application object, so arguments are examined before anything else starts.

#include <optional>
#include <string>
#include <vector>

// Runs a command-line mode when the arguments ask for one and returns its exit status
// (0 success, 1 failure, 2 usage error, 130 cancelled); nullopt when the arguments are for
// the editor itself.
std::optional<int> RunCommandLine(const std::vector<std::string>& args);

void PrintUsage(bool toError);
// Prints "tsq: message" and the usage to standard error; returns the usage error status 2.
int UsageError(const std::string& message);
