#include "ui/pianoroll/PianoRollText.h"

#include "model/CNote.h"
#include <QCoreApplication>

#include <QCoreApplication>

#include <algorithm>
#include <cmath>

namespace piano_roll_text {

namespace {

constexpr char kKeyNames[] = "B A+A G+G F+F E D+D C+C ";

int ClampRow(int row) {
    return std::clamp(row, 0, 95);
}

} // namespace

QString KeyLetters(int row) {
    return QString::fromLatin1(kKeyNames + 2 * (ClampRow(row) % 12), 2).trimmed();
}

QString KeyName(int row) {
    return KeyLetters(row) + QString::number(8 - ClampRow(row) / 12);
}

QString TempoLabel(double tempo) {
    if (!std::isfinite(tempo))
        return QStringLiteral("T?");
    if (tempo == std::floor(tempo) && std::fabs(tempo) < 1e9)
        return QStringLiteral("T%1").arg(static_cast<long long>(std::floor(tempo + 0.5)));
    return QStringLiteral("T") + QString::number(tempo, 'f', 1);
}

QString VolumeLabel(int32_t volume) {
    return QStringLiteral("V%1").arg(volume);
}

QString NoteToolTip(const CNote& note) {
    return QCoreApplication::translate("PianoRollText", "長さ:%1\r\nキーオフ:%2\r\n音量:%3")
        .arg(note.length)
        .arg(note.keyoff)
        .arg(note.volume);
}

QString SelectionMessage(size_t selected) {
    if (selected > 0)
        return QCoreApplication::translate("PianoRollText", "%1 個の音符が選択されています。")
            .arg(selected);
    return QCoreApplication::translate("PianoRollText", "Shift 範囲選択/音長変更  Ctrl 追加選択");
}

QString CaretReading(const QString& position, int row, const CNote* note,
                     const QString& notePosition) {
    QString reading = QCoreApplication::translate("PianoRollText", "キャレット %1、%2")
                          .arg(position, KeyName(row));
    if (note == nullptr)
        return reading;
    return reading +
           QCoreApplication::translate("PianoRollText", "。音符 %1、位置 %2、長さ %3、音量 %4")
               .arg(KeyName(note->key), notePosition)
               .arg(note->length)
               .arg(note->volume);
}

} // namespace piano_roll_text
