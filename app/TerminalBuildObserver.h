#pragma once
// How `tsq --render` shows a build: one progress line on standard error (only when that is
// a terminal), warnings for samples it was told to skip, and Ctrl+C as the abort button.

#include "engine/IBuildObserver.h"

#include <atomic>
#include <cstdio>
#include <string>

class TerminalBuildObserver : public IBuildObserver {
public:
    // `interrupted` is set from outside (a signal handler) and read as the abort button.
    TerminalBuildObserver(std::string outputName, bool showProgress, bool ignoreMissingSamples,
                          const std::atomic<bool>& interrupted, std::FILE* out = stderr);

    void EnableMainWindow(bool) override {}
    void ShowProgress(const std::string& title, const std::string& text) override;
    void CloseProgress() override;
    void SetProgressText(const std::string&) override {}
    void SetProgressRange(int32_t maximum) override;
    void StepProgress() override;
    void SetRemainingSeconds(int64_t seconds) override;
    void EnableAbort(bool enable) override;
    bool IsCancelled() override;
    SampleAnswer AskSampleFailure(const std::string& title, const std::string& text,
                                  const std::string& samplePath) override;
    void ShowOutputError(const std::string&, const std::string&) override {}
    void Pump() override;

private:
    void Draw();

    std::string outputName;
    bool showProgress;
    bool ignoreMissingSamples;
    const std::atomic<bool>& interrupted;
    std::FILE* out;
    bool rendering = false;
    bool drawn = false;
    bool dirty = false;
    int32_t maximum = 0;
    int32_t position = 0;
    int64_t remainingSeconds = -1;
};
