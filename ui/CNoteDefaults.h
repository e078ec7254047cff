#pragma once
// The fit unit (snapping grid of the piano roll) and the default note's length, key-off and
// volume: the values the note bar shows and the piano roll uses when notes are entered.
// Every setter applies the limits, so a value from a field, a menu or the settings is
// stored the same way.
//
// Thread: the user-interface thread only.

#include <QObject>

#include <cstdint>

class QSettings;

class CNoteDefaults : public QObject {
    Q_OBJECT
public:
    static constexpr int32_t kWholeNote = 1920;

    explicit CNoteDefaults(QObject* parent = nullptr);

    int32_t Fit() const { return m_fit; }
    int32_t Length() const { return m_length; }
    int32_t Keyoff() const { return m_keyoff; }
    int32_t Volume() const { return m_volume; }

    // Fit and length: at least 1. Key-off and volume: 0..255.
    void SetFit(int64_t value);
    void SetLength(int64_t value);
    void SetKeyoff(int64_t value);
    void SetVolume(int64_t value);

    // "付点": x + x / 2. "3連符": x / 3, at least 1.
    static int32_t Dotted(int32_t value);
    static int32_t Triplet(int32_t value);
    // Note value of a menu radio: 0 = whole note … 6 = 64th note.
    static int32_t UnitOf(int index) { return kWholeNote >> index; }

    // The "Note" section. Missing or damaged values keep the current ones.
    void Load(QSettings& settings);
    void Save(QSettings& settings) const;

signals:
    void changed();

private:
    int32_t m_fit = 240;
    int32_t m_length = 240;
    int32_t m_keyoff = 0;
    int32_t m_volume = 255;
};
