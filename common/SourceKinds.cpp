#include "common/SourceKinds.h"

#include <QCoreApplication>

#include <array>

namespace {

constexpr std::array<const char*, kSourceKindCount> kNames = {
    QT_TRANSLATE_NOOP("SourceKind", "矩形波"),
    QT_TRANSLATE_NOOP("SourceKind", "三角波"),
    QT_TRANSLATE_NOOP("SourceKind", "鋸歯状波（ノコギリ波）"),
    QT_TRANSLATE_NOOP("SourceKind", "正弦波"),
    QT_TRANSLATE_NOOP("SourceKind", "ノイズ"),
    QT_TRANSLATE_NOOP("SourceKind", "PCM"),
    QT_TRANSLATE_NOOP("SourceKind", "波形メモリ音源"),
    QT_TRANSLATE_NOOP("SourceKind", "FM音源"),
};

} // namespace

QString SourceKindName(int kind) {
    if (kind < 0 || kind >= kSourceKindCount)
        return {};
    return QCoreApplication::translate("SourceKind", kNames[size_t(kind)]);
}
