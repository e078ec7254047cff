#pragma once
// The texts of a build as the editor shows them: the progress window's title and lines and
// the two messages a build raises. The sound engine reports events only; these are their
// words. Marked for translation under the context "BuildTexts"; BuildText() looks one up.

#include <QCoreApplication>
#include <QString>

namespace BuildTexts {
inline constexpr const char* kContext = "BuildTexts";
inline constexpr const char* kTitle = QT_TRANSLATE_NOOP("BuildTexts", "ビルド");
inline constexpr const char* kLoadingSamples =
    QT_TRANSLATE_NOOP("BuildTexts", "PCM データを読み込んでいます。");
inline constexpr const char* kBuilding = QT_TRANSLATE_NOOP("BuildTexts", "ビルドしています。");
// %1 = whole seconds left, rounded up.
inline constexpr const char* kRemaining =
    QT_TRANSLATE_NOOP("BuildTexts", "ビルドしています。あと、約 %1 秒 お待ちください。");
// %1 = full path of the sample file.
inline constexpr const char* kSampleFailure = QT_TRANSLATE_NOOP(
    "BuildTexts",
    "PCM ファイルを開けません。ファイルが存在しないか、対応していない形式です。\n\n%1");
inline constexpr const char* kOutputFailure = QT_TRANSLATE_NOOP(
    "BuildTexts", "Wave サウンドファイルを作成できません。\n\nファイルが書込み禁止でないか、"
                  "または他で使用中でないか確認してください。");
} // namespace BuildTexts

inline QString BuildText(const char* text) {
    return QCoreApplication::translate(BuildTexts::kContext, text);
}
