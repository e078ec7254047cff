#include "app/TerminalBuildObserver.h"

#include <utility>

TerminalBuildObserver::TerminalBuildObserver(std::string outputName, bool showProgress,
                                             bool ignoreMissingSamples, std::FILE* out)
    : outputName(std::move(outputName)), showProgress(showProgress),
      ignoreMissingSamples(ignoreMissingSamples), out(out) {
}

void TerminalBuildObserver::Progress(const BuildProgress& progress) {
    shown = progress;
    Draw();
}

IBuildEvents::SampleAnswer TerminalBuildObserver::SampleFailed(const std::string& path) {
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

// The line always shows the latest progress, so the end only has to leave it.
void TerminalBuildObserver::Done(const BuildOutcome&) {
    if (drawn) {
        std::fputc('\n', out);
        std::fflush(out);
    }
    drawn = false;
}

void TerminalBuildObserver::Draw() {
    if (!showProgress)
        return;
    // \r and "erase to the end of the line" keep the line in place as it changes.
    if (shown.phase == BuildPhase::LoadingSamples) {
        std::fprintf(out, "\rtsq: %s: loading samples\x1b[K", outputName.c_str());
    } else {
        const int32_t maximum = shown.secondsTotal;
        const int32_t position = shown.secondsDone;
        const int percent = maximum > 0 ? int(int64_t{position} * 100 / maximum) : 100;
        std::fprintf(out, "\rtsq: %s: %3d%% (%d of %d s)", outputName.c_str(), percent, position,
                     maximum);
        if (shown.secondsLeft >= 0 && position < maximum)
            std::fprintf(out, ", about %lld s left", static_cast<long long>(shown.secondsLeft));
        std::fputs("\x1b[K", out);
    }
    std::fflush(out);
    drawn = true;
}
