#pragma once
// How `tsq --render` shows a build: one progress line on standard error (only when that is
// a terminal) and warnings for samples it was told to skip. Ctrl+C, the abort button, goes
// to the build as its stop flag, not through here.

#include "engine/IBuildEvents.h"

#include <cstdio>
#include <string>

class TerminalBuildObserver : public IBuildEvents {
public:
    TerminalBuildObserver(std::string outputName, bool showProgress, bool ignoreMissingSamples,
                          std::FILE* out = stderr);

    void Progress(const BuildProgress& progress) override;
    SampleAnswer SampleFailed(const std::string& samplePath) override;
    // The command prints the outcome's message once the build has returned.
    void OutputFailed(const std::string&) override {}
    void Done(const BuildOutcome& outcome) override;

private:
    void Draw();

    std::string outputName;
    bool showProgress;
    bool ignoreMissingSamples;
    std::FILE* out;
    BuildProgress shown;
    bool drawn = false;
};
