#pragma once
// The texts the piano roll shows: key names, the ruler's tempo and volume labels, the
// note tool tip and the status-bar messages.

#include <QString>

#include <cstddef>
#include <cstdint>

class CNote;

namespace piano_roll_text {

// Letter part of a row's name: "B", "A+", … "C" (row 0 = B8 … row 95 = C1).
QString KeyLetters(int row);
// "%s%d": the letter part and the octave number 8 - row / 12 ("C4" for row 59).
QString KeyName(int row);
// "T%d" with the tempo rounded when it is a whole number, else "T%.1f" (99.96 reads
// "T100.0", because 99.96 is not whole).
QString TempoLabel(double tempo);
// "V%d".
QString VolumeLabel(int32_t volume);
// Length, key-off and volume of a note, one per line.
QString NoteToolTip(const CNote& note);
// The message pane: the selection count, or the modifier hint while nothing is selected.
QString SelectionMessage(size_t selected);
// What a screen reader says of the caret: its position (measure:tick, as the status bar
// shows it) and its key, then the note there, if any, with that note's start `notePosition`.
QString CaretReading(const QString& position, int row, const CNote* note,
                     const QString& notePosition);

} // namespace piano_roll_text
