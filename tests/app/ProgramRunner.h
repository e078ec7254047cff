#pragma once
// Running the built tsq program from the command-line tests: to completion with its error
// output kept, or in the background to be interrupted with Ctrl+C part-way.

#include <string>
#include <vector>

#include <sys/types.h>

// Runs `program` (a shell word list already quoted where needed, e.g. with variables in
// front) with each argument quoted; stdout goes to `stdoutPath` (discarded by default),
// stderr to `stderrPath` and into `errors`. Returns the exit status, or -1 when the program
// did not exit normally.
int RunProgram(const std::string& program, const std::vector<std::string>& args,
               const std::string& stderrPath, std::string& errors,
               const std::string& stdoutPath = "/dev/null");

// Starts words[0] with the arguments words[1..] and stderr in `stderrPath`; 0 on failure.
pid_t SpawnProgram(std::vector<std::string> words, const std::string& stderrPath);

// Once `file` exists (waiting at most a minute) and `settleMs` more have passed, sends
// SIGINT to `pid` and waits for it; returns its wait status, or -1.
int InterruptOnceWritten(pid_t pid, const std::string& file, int settleMs);
