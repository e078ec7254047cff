#pragma once
// "プロジェクトの設定": the song-wide properties and the format of the built WAV file. Works
// on a copy of the song data; the caller takes the copy back on OK. The volume, tempo and
// time-signature fields edit the first entry of their lists; "..." opens the whole list.
// Opened for the default project, the tempo-list and time-signature-list buttons are
// disabled, since those lists are not stored with the defaults.

#include "model/CProjectData.h"

#include <QDialog>

class CDecimalEdit;
class CNumberEdit;
class QCheckBox;
class QComboBox;
class QDialogButtonBox;
class QGroupBox;
class QPushButton;

class CProjectDialog : public QDialog {
    Q_OBJECT
public:
    explicit CProjectDialog(QWidget* parent = nullptr);

    void SetProjectData(const CProjectData& data);
    // The copy with every field of the form written into it.
    CProjectData GetProjectData() const;
    void SetTempoListEnabled(bool enabled);
    void SetBeatListEnabled(bool enabled);

    // The rate a typed text stands for: digits clamped to 1000..384000, or `fallback`
    // when there are none.
    static int32_t ClampRate(const QString& text, int32_t fallback);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void LoadFields();
    void StoreFields(CProjectData& data) const;
    void CommitRate();
    void OnVolumeList();
    void OnTempoList();
    void OnBeatList();
    void OnLoop();

    struct Ui {
        CNumberEdit* volume = nullptr;
        QPushButton* volumeList = nullptr;
        CDecimalEdit* tempo = nullptr;
        QPushButton* tempoList = nullptr;
        CNumberEdit* transpose = nullptr;
        CNumberEdit* beat = nullptr;
        QComboBox* baseBeat = nullptr;
        QPushButton* beatList = nullptr;
        QPushButton* loop = nullptr;
        QComboBox* channels = nullptr;
        QComboBox* samplesPerSec = nullptr;
        QComboBox* bitsPerSample = nullptr;
        CNumberEdit* startDummy = nullptr;
        CNumberEdit* endDummy = nullptr;
        CNumberEdit* fadeOut = nullptr;
        QComboBox* fadeOutType = nullptr;
        QCheckBox* reductionPuchiNoise = nullptr;
        QDialogButtonBox* buttonBox = nullptr;
        void setupUi(QDialog* dialog);

    private:
        QGroupBox* SongGroup(QWidget* parent);
        QGroupBox* OutputGroup(QWidget* parent);
    } m_ui;
    CProjectData m_data;
};
