#pragma once
// Everything a build shows to the user or asks of the user. The editor implements it with
// its progress window and message boxes, the command line with a progress line on the
// terminal, tests with a recorder. Every call comes from the thread that runs
// CBuild::Build, never from a worker, so an implementation needs no locking of its own.

#include <cstdint>
#include <string>

// The texts a build hands to its observer.
namespace BuildText {
inline constexpr const char* kTitle = "ビルド";
inline constexpr const char* kLoadingSamples = "PCM データを読み込んでいます。";
inline constexpr const char* kBuilding = "ビルドしています。";
// %d = whole seconds left, rounded up.
inline constexpr const char* kRemaining = "ビルドしています。あと、約 %d 秒 お待ちください。";
// %s = full path of the sample file.
inline constexpr const char* kSampleFailure =
    "PCM ファイルを開けません。ファイルが存在しないか、対応していない形式です。\n\n%s";
inline constexpr const char* kOutputFailure =
    "Wave "
    "サウンドファイルを作成できません。\n\nファイルが書込み禁止でないか、または他で使用中でない"
    "か確認してください。";
} // namespace BuildText

class IBuildObserver {
public:
    enum class SampleAnswer { Abort, Retry, Ignore };

    virtual ~IBuildObserver() = default;

    // The main window is disabled for as long as a build shows its progress.
    virtual void EnableMainWindow(bool enable) = 0;

    // The progress window: shown with the abort button disabled, closed at the end.
    virtual void ShowProgress(const std::string& title, const std::string& text) = 0;
    virtual void CloseProgress() = 0;
    virtual void SetProgressText(const std::string& text) = 0;
    // The bar runs from 0 to `maximum` (flagged seconds) in steps of one second.
    virtual void SetProgressRange(int32_t maximum) = 0;
    virtual void StepProgress() = 0;
    // Estimate of the seconds still to wait; comes with each text update while rendering.
    virtual void SetRemainingSeconds(int64_t seconds) = 0;
    // The "中止(&A)" button. IsCancelled is polled; once true it should stay true.
    virtual void EnableAbort(bool enable) = 0;
    virtual bool IsCancelled() = 0;

    // A sample of an unmuted PCM track cannot be loaded (warning: Abort / Retry / Ignore).
    // `text` is the full message with the path filled in.
    virtual SampleAnswer AskSampleFailure(const std::string& title, const std::string& text,
                                          const std::string& samplePath) = 0;
    // The output WAV file cannot be opened or written (warning, OK only).
    virtual void ShowOutputError(const std::string& title, const std::string& text) = 0;

    // Called at least every 100 ms while the workers render, so the caller's event loop
    // keeps running (repaints, the abort button).
    virtual void Pump() = 0;
};
