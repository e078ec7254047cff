#pragma once
// "PCM": the sound file, base key and loop of a PCM track. Works on a copy of the track's
// settings and hands it back on OK.
//
// The file list holds the WAV and then the MP3 files of the default PCM folder and can be
// typed into. A name is stored relative to the documents folder when the file lies inside
// it (that is where a track's relative names are looked up), otherwise with its full path.
// ">" plays the file; switching the loop unit converts both loop positions with the file's
// sample rate, or only changes the unit when the file cannot be read.
//
// Thread: the user-interface thread only.

#include "common/Options.h"
#include "dialogs/FileChooserStart.h"
#include "model/CTrackData.h"

#include <QDialog>

#include <memory>

class CAudioFile;
class CNumberEdit;
class QComboBox;
class QDialogButtonBox;
class QLabel;
class QPushButton;
class Sonalo;

class CPCMDialog : public QDialog {
    Q_OBJECT
public:
    explicit CPCMDialog(const OPTIONS& options, QWidget* parent = nullptr);
    ~CPCMDialog() override;

    void SetTrack(const CTrackData& track);
    // The copy with the form written into its PCM record.
    CTrackData GetTrack() const;

    // Replaces the system file chooser that "..." opens.
    void SetFileChooser(FileChooser chooser) { m_chooseFile = std::move(chooser); }
    // Whether ">" sounds a file now.
    bool IsAuditioning() const;

    // The name stored for a chosen file: relative to the documents folder when the file
    // lies inside it, else the full path.
    static QString StoredName(const QString& path);
    // A loop position in the other unit: to samples value × rate / 1000, to milliseconds
    // value × 1000 / rate (truncating, kept within 0..2147483647).
    static int64_t ConvertLoopPosition(int64_t value, int32_t toUnit, uint32_t rate);

private:
    void FillFileList();
    void OnBrowse();
    void OnAudition();
    void OnUnitChanged(int unit);
    QString CurrentPath() const;

    struct Ui {
        QComboBox* fileName = nullptr;
        QPushButton* browse = nullptr;
        QPushButton* audition = nullptr;
        QComboBox* baseOctave = nullptr;
        QComboBox* baseKey = nullptr;
        CNumberEdit* loopStart = nullptr;
        QComboBox* loopUnit = nullptr;
        CNumberEdit* loopEnd = nullptr;
        QLabel* loopEndUnit = nullptr;
        CNumberEdit* loopCount = nullptr;
        QLabel* mp3Note = nullptr;
        QDialogButtonBox* buttonBox = nullptr;
        void setupUi(QDialog* dialog);
    } m_ui;
    OPTIONS m_options;
    CTrackData m_track;
    int m_unit = 0;
    std::unique_ptr<CAudioFile> m_audioFile;
    std::unique_ptr<Sonalo> m_player;
    FileChooser m_chooseFile;
};
