#pragma once
// "LFO": the pitch LFO (vibrato) and the amplitude LFO (tremolo) of a track or of an FM
// operator, one group each. Works on copies; the caller takes both back on OK.

#include "model/CLFO.h"

#include <QDialog>

class CNumberEdit;
class QCheckBox;
class QComboBox;
class QDialogButtonBox;
class QGroupBox;
class QPushButton;

class CLFODialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int32_t kMaxPitchDepth = 3072; // 1/256 semitone: one octave
    static constexpr int32_t kMaxAmpDepth = 255;

    explicit CLFODialog(QWidget* parent = nullptr);

    void SetLFOs(const CLFO& pitch, const CLFO& amp);
    // The copies with the fields of their groups written into them.
    CLFO GetPitchLFO() const;
    CLFO GetAmpLFO() const;

private:
    // The controls of one LFO; the group's object names start with its prefix ("pitch",
    // "amp"): pitchWaveform, pitchInvert, pitchDelay, pitchFade, pitchPeriod, pitchDepth,
    // pitchReset.
    struct Group {
        QComboBox* waveform = nullptr;
        QCheckBox* invert = nullptr;
        CNumberEdit* delay = nullptr;
        CNumberEdit* fade = nullptr;
        CNumberEdit* period = nullptr;
        CNumberEdit* depth = nullptr;
        QPushButton* reset = nullptr;

        QGroupBox* Build(QWidget* parent, const QString& title, const char* prefix,
                         int32_t maxDepth);
        void Load(const CLFO& lfo);
        void Store(CLFO& lfo) const;
    };

    struct Ui {
        Group pitch;
        Group amp;
        QDialogButtonBox* buttonBox = nullptr;
        void setupUi(QDialog* dialog);
    } m_ui;
    CLFO m_pitch;
    CLFO m_amp;
};
