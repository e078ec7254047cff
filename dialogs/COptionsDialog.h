#pragma once
// "オプション": the user's options, on pages for the piano roll view, colours, editing,
// playback, building and files. Edits a copy of the options and of the colour chooser's
// custom colours; the caller takes both back on OK.

#include "common/Options.h"
#include "dialogs/CColorButton.h"

#include <QDialog>
#include <QStringList>

#include <string>

class CNumberEdit;
class QCheckBox;
class QComboBox;
class QDialogButtonBox;
class QGridLayout;
class QLineEdit;
class QPushButton;
class QTabWidget;

class COptionsDialog : public QDialog {
    Q_OBJECT
public:
    explicit COptionsDialog(QWidget* parent = nullptr);

    // The MIDI input ports offered, by name; the sequencer's when the dialog is made.
    void SetMidiPorts(const QStringList& names);
    void SetOptions(const OPTIONS& options);
    OPTIONS GetOptions() const;
    void SetCustomColors(const CColorButton::CustomColors& colors) { m_customColors = colors; }
    const CColorButton::CustomColors& GetCustomColors() const { return m_customColors; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void StabilizeForm();
    void BrowsePcmFolder();
    void FillMidiPorts(const std::string& chosen);
    void CommitNumberList(QComboBox* list, int32_t minimum, int32_t maximum, int32_t fallback);

    struct Ui {
        QTabWidget* tabs = nullptr;
        // Piano roll view
        QComboBox* pianoRollZoomX = nullptr;
        QComboBox* pianoRollZoomY = nullptr;
        QComboBox* scrollMeasure = nullptr;
        QCheckBox* viewGradation = nullptr;
        QCheckBox* viewPortamento = nullptr;
        QCheckBox* viewPosCaret = nullptr;
        QCheckBox* viewNoteCaret = nullptr;
        // Colours
        CColorButton* crNote = nullptr;
        CColorButton* crSelectedNote = nullptr;
        QCheckBox* viewInactiveNote = nullptr;
        QCheckBox* viewInactiveNoteColor = nullptr;
        CColorButton* crInactiveNote = nullptr;
        QCheckBox* viewInactiveMuteNoteColor = nullptr;
        CColorButton* crInactiveMuteNote = nullptr;
        // Editing
        QCheckBox* noteSingleClickAdd = nullptr;
        QComboBox* noteAdd = nullptr;
        QCheckBox* noteRightDragLength = nullptr;
        QCheckBox* noteSelectDefault = nullptr;
        // Playback
        QCheckBox* notePlay = nullptr;
        QCheckBox* keyboardPlay = nullptr;
        QComboBox* playBufferSize = nullptr;
        QCheckBox* playMove = nullptr;
        QCheckBox* playScroll = nullptr;
        QComboBox* midiInputPort = nullptr;
        QCheckBox* livePlayback = nullptr;
        CNumberEdit* metronomeVolume = nullptr;
        // Build
        CNumberEdit* buildThreads = nullptr;
        QCheckBox* buildSaveIncremental = nullptr;
        QCheckBox* buildSaveProject = nullptr;
        QCheckBox* buildEncode = nullptr;
        // Files
        QLineEdit* pcmDefaultPath = nullptr;
        QPushButton* pcmDefaultPathBrowse = nullptr;
        QCheckBox* importRhythmAutoLength = nullptr;
        CNumberEdit* importRhythmAutoLengthLength = nullptr;
        QCheckBox* restoreWindow = nullptr;
        CNumberEdit* autosaveSeconds = nullptr;
        QComboBox* interfaceLanguage = nullptr;

        QDialogButtonBox* buttonBox = nullptr;
        void setupUi(QDialog* dialog);

    private:
        QWidget* ViewPage(QWidget* parent);
        QWidget* ColorPage(QWidget* parent);
        QWidget* EditPage(QWidget* parent);
        QWidget* PlayPage(QWidget* parent);
        QWidget* BuildPage(QWidget* parent);
        QWidget* FilePage(QWidget* parent);
        void LanguageRows(QGridLayout* grid, int row, QWidget* page);
    } m_ui;

    OPTIONS m_options;
    QStringList m_midiPorts;
    CColorButton::CustomColors m_customColors{};
};
