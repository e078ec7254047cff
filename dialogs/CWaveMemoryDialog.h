#pragma once
// "波形メモリ音源": draws the wave of a wave-memory track. Works on a copy of the track's
// settings and hands it back on OK. The size list offers 32 × 16, 64 × 32 and 128 × 64;
// a wave of any other size shows no entry selected. The sound can be copied to the
// clipboard as "TSQ_WAVEMEMORY" and pasted back; the paste button follows the clipboard
// while the dialog is open. The keyboard auditions the wave as drawn.
//
// "読み込み(&I)..." replaces the wave by one cycle read from a sound file (WaveCycle.h),
// resampled to the wave's length and quantised to its levels, in one change of the copy
// that Cancel drops like any other.
//
// The dialog is resizable. With the restore-window option on it opens with the size stored
// under "WaveMemoryDialog State"; it stores its size there when it closes.
//
// Thread: the user-interface thread only.

#include "common/Options.h"
#include "dialogs/FileChooserStart.h"
#include "model/CProject.h"
#include "model/CTrackData.h"

#include <QDialog>

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

class CKeyboardWnd;
class CWaveMemoryEditWnd;
class QComboBox;
class QDialogButtonBox;
class QPushButton;
class QSettings;

class CWaveMemoryDialog : public QDialog {
    Q_OBJECT
public:
    // `state` keeps the dialog's size; null keeps nothing.
    CWaveMemoryDialog(const OPTIONS& options, QSettings* state, QWidget* parent = nullptr);
    ~CWaveMemoryDialog() override;

    // The song whose rate, tempo, master volume and transpose the keyboard plays with.
    void SetProjectData(const CProjectData& data);
    void SetTrack(const CTrackData& track);
    // The copy with the drawn wave written into it.
    CTrackData GetTrack() const;
    // What the keyboard plays: the track as it was when the last key went down.
    const CTrack& PreviewTrack() const { return m_previewTrack; }
    // Replaces the system file chooser that "読み込み(&I)..." opens.
    void SetFileChooser(FileChooser chooser) { m_chooseFile = std::move(chooser); }

    // The size entries: index 0 "小", 1 "中", 2 "大"; -1 for any other size.
    static int SizeIndex(const CWaveMemory& wave);
    // "TSQ_WAVEMEMORY" payload of a wave, and the wave of a payload; nothing for a damaged
    // one (too short, no samples, fewer than two levels).
    static std::vector<uint8_t> CopyPayload(const CWaveMemory& wave);
    static std::optional<CWaveMemory> PastePayload(std::span<const uint8_t> payload);

    void done(int result) override;

private:
    void OnSizeChosen(int index);
    void OnCopy();
    void OnPaste();
    void OnImport();
    void ShowError(const QString& text);
    void OnNoteOn();
    void StabilizeForm();
    void ShowWave();
    void RestoreSize();

    struct Ui {
        QComboBox* size = nullptr;
        CWaveMemoryEditWnd* editor = nullptr;
        CKeyboardWnd* keyboard = nullptr;
        QPushButton* copy = nullptr;
        QPushButton* paste = nullptr;
        QPushButton* importWave = nullptr;
        QDialogButtonBox* buttonBox = nullptr;
        void setupUi(QDialog* dialog);
    } m_ui;
    OPTIONS m_options;
    QSettings* m_state;
    CTrackData m_track;
    CProject m_previewProject;
    CTrack m_previewTrack;
    FileChooser m_chooseFile;
};
