#include "app/TerminalBuildObserver.h"

#include <utility>

TerminalBuildObserver::TerminalBuildObserver(std::string outputName, bool showProgress,
                                             bool ignoreMissingSamples,
                                             const std::atomic<bool>& interrupted, std::FILE* out)
    : outputName(std::move(outputName)), showProgress(showProgress),
      ignoreMissingSamples(ignoreMissingSamples), interrupted(interrupted), out(out) {
}

void TerminalBuildObserver::ShowProgress(const std::string&, const std::string&) {
    rendering = false;
    dirty = true;
}

void TerminalBuildObserver::CloseProgress() {
    if (drawn) {
        Draw();
        std::fputc('\n', out);
        std::fflush(out);
    }
    drawn = false;
}

void TerminalBuildObserver::SetProgressRange(int32_t newMaximum) {
    maximum = newMaximum;
    position = 0;
    remainingSeconds = -1;
    dirty = true;
}

void TerminalBuildObserver::StepProgress() {
    if (position < maximum)
        ++position;
    dirty = true;
}

void TerminalBuildObserver::SetRemainingSeconds(int64_t seconds) {
    remainingSeconds = seconds;
    dirty = true;
}

void TerminalBuildObserver::EnableAbort(bool enable) {
    // The abort button comes alive when rendering starts.
    rendering = rendering || enable;
    dirty = true;
}

bool TerminalBuildObserver::IsCancelled() {
    return interrupted.load();
}

IBuildObserver::SampleAnswer TerminalBuildObserver::AskSampleFailure(const std::string&,
                                                                     const std::string&,
                                                                     const std::string& path) {
    if (!ignoreMissingSamples)
        return SampleAnswer::Abort;
    if (drawn)
        std::fputc('\n', out);
    drawn = false;
    std::fprintf(out,
                 "tsq: warning: cannot load the PCM sample %s (the file is missing or its "
                 "format is not supported); its notes stay silent\n",
                 path.c_str());
    return SampleAnswer::Ignore;
}

void TerminalBuildObserver::Pump() {
    if (dirty)
        Draw();
}

void TerminalBuildObserver::Draw() {
    dirty = false;
    if (!showProgress)
        return;
    // \r and "erase to the end of the line" keep the line in place as it changes.
    if (!rendering) {
        std::fprintf(out, "\rtsq: %s: loading samples\x1b[K", outputName.c_str());
    } else {
        const int percent = maximum > 0 ? int(int64_t{position} * 100 / maximum) : 100;
        std::fprintf(out, "\rtsq: %s: %3d%% (%d of %d s)", outputName.c_str(), percent, position,
                     maximum);
        if (remainingSeconds >= 0 && position < maximum)
            std::fprintf(out, ", about %lld s left", static_cast<long long>(remainingSeconds));
        std::fputs("\x1b[K", out);
    }
    std::fflush(out);
    drawn = true;
}
