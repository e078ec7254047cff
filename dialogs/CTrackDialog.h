#pragma once
// "トラックのプロパティ" (and "トラックの追加"): everything about a track except its notes:
// name, note colour, source kind and its shaping, volume, detune, pan and the volume
// envelope with a preview; "LFO..." and "音色(&O)..." open their dialogs on copies.
// Works on a copy of the track's settings; sub-dialogs change only that copy, and the
// caller takes it back on OK.

#include "dialogs/CColorButton.h"
#include "model/CTrackData.h"

#include <QDialog>

#include <functional>

class CEnvelopeWnd;
class CNumberEdit;
class QCheckBox;
class QComboBox;
class QDialogButtonBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSlider;

class CTrackDialog : public QDialog {
    Q_OBJECT
public:
    // Opens the sound dialog of the track's source kind (PCM 5, wave memory 6, FM 7) on
    // `track`, a copy of the working track. True on OK, with `track` edited; on false the
    // caller drops the copy.
    using SoundEditor = std::function<bool(QWidget* parent, CTrackData& track)>;
    // "音色を読み込む…" replaces the sound of `track` (the working copy) with a preset's,
    // true when it did; "音色を保存…" stores the working copy's sound as a preset.
    struct PresetActions {
        std::function<bool(QWidget* parent, CTrackData& track)> load;
        std::function<void(QWidget* parent, const CTrackData& track)> save;
    };

    explicit CTrackDialog(const QString& title = tr("トラックのプロパティ"),
                          QWidget* parent = nullptr);
    ~CTrackDialog() override;

    void SetTrackData(const CTrackData& data);
    // The working copy with every field of the form written into it.
    CTrackData GetTrackData() const;
    // The application's custom colours for the colour chooser; must outlive the dialog.
    void SetCustomColors(CColorButton::CustomColors* colors);
    // Replaces the sound dialogs "音色(&O)..." opens (DefaultSoundEditor() unless set).
    void SetSoundEditor(SoundEditor editor);
    static SoundEditor DefaultSoundEditor();
    // Shows the two preset buttons, which are hidden while no actions are set.
    void SetPresetActions(PresetActions actions);

    // The first `count` source kinds with their icons, in kind order, into a list.
    static void AddSourceKinds(QComboBox* list, int count = kFm + 1);
    static QIcon SourceKindIcon(int kind);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ConnectFields();
    void LoadFields();
    void StoreFields(CTrackData& data) const;
    void StoreEnvelope(CEnvelope& envelope) const;
    void CommitDuty();
    void OnEnvelopeEdited();
    void OnPreviewSpan();
    void OnLFO();
    void OnSound();
    void OnLoadPreset();
    void StabilizeForm();

    struct Ui {
        QLineEdit* name = nullptr;
        QCheckBox* useNoteColor = nullptr;
        CColorButton* noteColor = nullptr;
        QComboBox* waveform = nullptr;
        QCheckBox* invert = nullptr;
        CNumberEdit* pseudoWave = nullptr;
        QLabel* dutyLabel = nullptr;
        QComboBox* duty = nullptr;
        CNumberEdit* volume = nullptr;
        CNumberEdit* detune = nullptr;
        CNumberEdit* pan = nullptr;
        QPushButton* lfo = nullptr;
        QPushButton* sound = nullptr;
        QPushButton* loadPreset = nullptr;
        QPushButton* savePreset = nullptr;
        QComboBox* curve = nullptr;
        CNumberEdit* delay = nullptr;
        CNumberEdit* attack = nullptr;
        CNumberEdit* decay = nullptr;
        CNumberEdit* sustain = nullptr;
        CNumberEdit* release = nullptr;
        CNumberEdit* attackLevel = nullptr;
        CNumberEdit* sustainLevel = nullptr;
        CNumberEdit* keyScaling = nullptr;
        CEnvelopeWnd* preview = nullptr;
        QSlider* previewSpan = nullptr;
        QLabel* previewSeconds = nullptr;
        QDialogButtonBox* buttonBox = nullptr;
        void setupUi(QDialog* dialog, const QString& title);

    private:
        QWidget* TrackFields(QWidget* parent);
        QGroupBox* SourceGroup(QWidget* parent);
        QGroupBox* EnvelopeGroup(QWidget* parent);
    } m_ui;
    CTrackData m_data;
    SoundEditor m_soundEditor;
    PresetActions m_presets;
};
