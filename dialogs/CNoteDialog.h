#pragma once
// "音符": the properties of one or several selected notes. A field shows the value the notes
// share and stays empty where they differ; only the fields the user changed come back, so
// that the caller can apply exactly those to every selected note.

#include "model/CNote.h"

#include <QDialog>

#include <cstdint>
#include <optional>

class CBeats;
class CNumberEdit;
class CPositionEdit;
class QComboBox;
class QDialogButtonBox;

// The fields the user changed. The key is split as in the dialog: octave list position
// (0 = octave 8 .. 7 = octave 1) and key list position (0 = B .. 11 = C).
struct NOTE_CHANGES {
    std::optional<int32_t> position;
    std::optional<int32_t> length;
    std::optional<int32_t> keyoff;
    std::optional<int32_t> octave;
    std::optional<int32_t> keyInOctave;
    std::optional<int32_t> volume;
    std::optional<int32_t> portamentoStart;
    std::optional<int32_t> portamentoLength;
    std::optional<int32_t> portamentoLevel;

    bool IsEmpty() const;
    // Writes the changed fields into a copy of a note's values; the key becomes key list
    // position + 12 x octave list position, each taken from the note when unchanged. The
    // caller stores the copy back through the track, which moves the note's segments.
    void ApplyTo(CNote& note) const;
};

class CNoteDialog : public QDialog {
    Q_OBJECT
public:
    explicit CNoteDialog(QWidget* parent = nullptr);

    // The song's signatures, for the measure:tick text; must outlive the dialog.
    void SetBeats(const CBeats* beats);
    // Fills the fields from the notes (at least one); forgets earlier changes.
    void SetNotes(const CConstNoteArray& notes);
    NOTE_CHANGES GetChanges() const;

private:
    void ConnectChanges();
    void ShowCommonValues(const CConstNoteArray& notes);

    struct Ui {
        CPositionEdit* position = nullptr;
        CNumberEdit* length = nullptr;
        CNumberEdit* keyoff = nullptr;
        QComboBox* octave = nullptr;
        QComboBox* key = nullptr;
        CNumberEdit* volume = nullptr;
        CNumberEdit* portamentoStart = nullptr;
        CNumberEdit* portamentoLength = nullptr;
        CNumberEdit* portamentoLevel = nullptr;
        QDialogButtonBox* buttonBox = nullptr;
        void setupUi(QDialog* dialog);
    } m_ui;

    enum Field {
        kPosition,
        kLength,
        kKeyoff,
        kOctave,
        kKey,
        kVolume,
        kPortamentoStart,
        kPortamentoLength,
        kPortamentoLevel,
        kFieldCount
    };
    bool m_changed[kFieldCount] = {};
};
