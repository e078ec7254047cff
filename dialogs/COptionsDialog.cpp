#include "dialogs/COptionsDialog.h"

#include "dialogs/CNumberEdit.h"
#include "dialogs/FileChooserStart.h"
#include "preview/CMidiInput.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QEvent>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>

namespace {

namespace range = options_range;

void SetFlag(QCheckBox* check, int32_t value) {
    check->setChecked(value != 0);
}

int32_t Flag(const QCheckBox* check) {
    return check->isChecked() ? 1 : 0;
}

// The number typed into an editable list, clamped; `fallback` when there is none.
int32_t ListNumber(const QComboBox* list, int32_t minimum, int32_t maximum, int32_t fallback) {
    bool ok = false;
    const qlonglong value = list->currentText().trimmed().toLongLong(&ok);
    if (!ok)
        return fallback;
    return static_cast<int32_t>(std::clamp<qlonglong>(value, minimum, maximum));
}

void SetIndex(QComboBox* list, int32_t index) {
    list->setCurrentIndex(std::clamp(index, 0, list->count() - 1));
}

} // namespace

COptionsDialog::COptionsDialog(QWidget* parent) : QDialog(parent) {
    m_ui.setupUi(this);
    for (CColorButton* b :
         {m_ui.crNote, m_ui.crSelectedNote, m_ui.crInactiveNote, m_ui.crInactiveMuteNote})
        b->SetCustomColors(&m_customColors);
    for (QCheckBox* c : {m_ui.viewInactiveNote, m_ui.viewInactiveNoteColor,
                         m_ui.viewInactiveMuteNoteColor, m_ui.importRhythmAutoLength})
        connect(c, &QCheckBox::toggled, this, &COptionsDialog::StabilizeForm);
    connect(m_ui.pcmDefaultPathBrowse, &QPushButton::clicked, this,
            &COptionsDialog::BrowsePcmFolder);
    for (QComboBox* list : {m_ui.pianoRollZoomX, m_ui.pianoRollZoomY, m_ui.playBufferSize})
        list->installEventFilter(this);
    for (const MIDI_PORT& port : CMidiInput::ListPorts())
        m_midiPorts << QString::fromStdString(port.name);
    SetOptions(OPTIONS{});
}

void COptionsDialog::SetMidiPorts(const QStringList& names) {
    m_midiPorts = names;
    FillMidiPorts(GetOptions().midiInputPort);
}

// "なし" first, then the ports present; a chosen port that is not plugged in now stays on
// the list, so opening the dialog without the keyboard does not forget it.
void COptionsDialog::FillMidiPorts(const std::string& chosen) {
    QComboBox* list = m_ui.midiInputPort;
    list->clear();
    list->addItem(tr("なし"), QString());
    for (const QString& name : m_midiPorts)
        list->addItem(name, name);
    const QString current = QString::fromStdString(chosen);
    if (!current.isEmpty() && !m_midiPorts.contains(current))
        list->addItem(tr("%1 (未接続)").arg(current), current);
    list->setCurrentIndex(std::max(list->findData(current), 0));
}

void COptionsDialog::SetOptions(const OPTIONS& o) {
    m_options = o;
    m_ui.pianoRollZoomX->setEditText(QString::number(o.pianoRollZoomX));
    m_ui.pianoRollZoomY->setEditText(QString::number(o.pianoRollZoomY));
    SetIndex(m_ui.scrollMeasure, o.scrollMeasure);
    SetFlag(m_ui.viewGradation, o.viewGradation);
    SetFlag(m_ui.viewPortamento, o.viewPortamento);
    SetFlag(m_ui.viewPosCaret, o.viewPosCaret);
    SetFlag(m_ui.viewNoteCaret, o.viewNoteCaret);
    m_ui.crNote->SetColor(o.crNote);
    m_ui.crSelectedNote->SetColor(o.crSelectedNote);
    SetFlag(m_ui.viewInactiveNote, o.viewInactiveNote);
    SetFlag(m_ui.viewInactiveNoteColor, o.viewInactiveNoteColor);
    m_ui.crInactiveNote->SetColor(o.crInactiveNote);
    SetFlag(m_ui.viewInactiveMuteNoteColor, o.viewInactiveMuteNoteColor);
    m_ui.crInactiveMuteNote->SetColor(o.crInactiveMuteNote);
    SetFlag(m_ui.noteSingleClickAdd, o.noteSingleClickAdd);
    SetIndex(m_ui.noteAdd, o.noteAdd);
    SetFlag(m_ui.noteRightDragLength, o.noteRightDragLength);
    SetFlag(m_ui.noteSelectDefault, o.noteSelectDefault);
    SetFlag(m_ui.notePlay, o.notePlay);
    SetFlag(m_ui.keyboardPlay, o.keyboardPlay);
    m_ui.playBufferSize->setEditText(QString::number(o.playBufferSize));
    SetFlag(m_ui.playMove, o.playMove);
    SetFlag(m_ui.playScroll, o.playScroll);
    FillMidiPorts(o.midiInputPort);
    SetFlag(m_ui.livePlayback, o.livePlayback);
    m_ui.metronomeVolume->SetValue(o.metronomeVolume);
    m_ui.buildThreads->SetValue(o.buildThreads);
    SetFlag(m_ui.buildSaveIncremental, o.buildSaveIncremental);
    SetFlag(m_ui.buildSaveProject, o.buildSaveProject);
    SetFlag(m_ui.buildEncode, o.buildEncode);
    m_ui.pcmDefaultPath->setText(QString::fromStdString(o.pcmDefaultPath));
    SetFlag(m_ui.importRhythmAutoLength, o.importRhythmAutoLength);
    m_ui.importRhythmAutoLengthLength->SetValue(o.importRhythmAutoLengthLength);
    SetFlag(m_ui.restoreWindow, o.restoreWindow);
    m_ui.autosaveSeconds->SetValue(o.autosaveSeconds);
    m_ui.interfaceLanguage->setCurrentIndex(
        std::clamp(o.interfaceLanguage, 0, m_ui.interfaceLanguage->count() - 1));
    StabilizeForm();
}

OPTIONS COptionsDialog::GetOptions() const {
    OPTIONS o = m_options;
    o.pianoRollZoomX =
        ListNumber(m_ui.pianoRollZoomX, range::kZoomXMin, range::kZoomXMax,
                   std::clamp(m_options.pianoRollZoomX, range::kZoomXMin, range::kZoomXMax));
    o.pianoRollZoomY =
        ListNumber(m_ui.pianoRollZoomY, range::kZoomYMin, range::kZoomYMax,
                   std::clamp(m_options.pianoRollZoomY, range::kZoomYMin, range::kZoomYMax));
    o.scrollMeasure = m_ui.scrollMeasure->currentIndex();
    o.viewGradation = Flag(m_ui.viewGradation);
    o.viewPortamento = Flag(m_ui.viewPortamento);
    o.viewPosCaret = Flag(m_ui.viewPosCaret);
    o.viewNoteCaret = Flag(m_ui.viewNoteCaret);
    o.crNote = m_ui.crNote->GetColor();
    o.crSelectedNote = m_ui.crSelectedNote->GetColor();
    o.viewInactiveNote = Flag(m_ui.viewInactiveNote);
    o.viewInactiveNoteColor = Flag(m_ui.viewInactiveNoteColor);
    o.crInactiveNote = m_ui.crInactiveNote->GetColor();
    o.viewInactiveMuteNoteColor = Flag(m_ui.viewInactiveMuteNoteColor);
    o.crInactiveMuteNote = m_ui.crInactiveMuteNote->GetColor();
    o.noteSingleClickAdd = Flag(m_ui.noteSingleClickAdd);
    o.noteAdd = m_ui.noteAdd->currentIndex();
    o.noteRightDragLength = Flag(m_ui.noteRightDragLength);
    o.noteSelectDefault = Flag(m_ui.noteSelectDefault);
    o.notePlay = Flag(m_ui.notePlay);
    o.keyboardPlay = Flag(m_ui.keyboardPlay);
    o.playBufferSize = ListNumber(
        m_ui.playBufferSize, range::kPlayBufferMin, range::kPlayBufferMax,
        std::clamp(m_options.playBufferSize, range::kPlayBufferMin, range::kPlayBufferMax));
    o.playMove = Flag(m_ui.playMove);
    o.playScroll = Flag(m_ui.playScroll);
    o.midiInputPort = m_ui.midiInputPort->currentData().toString().toStdString();
    o.livePlayback = Flag(m_ui.livePlayback);
    o.metronomeVolume = static_cast<int32_t>(m_ui.metronomeVolume->Value());
    o.buildThreads = static_cast<int32_t>(m_ui.buildThreads->Value());
    o.buildSaveIncremental = Flag(m_ui.buildSaveIncremental);
    o.buildSaveProject = Flag(m_ui.buildSaveProject);
    o.buildEncode = Flag(m_ui.buildEncode);
    o.pcmDefaultPath = m_ui.pcmDefaultPath->text().toStdString();
    o.importRhythmAutoLength = Flag(m_ui.importRhythmAutoLength);
    o.importRhythmAutoLengthLength =
        static_cast<int32_t>(m_ui.importRhythmAutoLengthLength->Value());
    o.restoreWindow = Flag(m_ui.restoreWindow);
    o.autosaveSeconds = static_cast<int32_t>(m_ui.autosaveSeconds->Value());
    o.interfaceLanguage = m_ui.interfaceLanguage->currentIndex();
    return o;
}

void COptionsDialog::StabilizeForm() {
    const bool inactive = m_ui.viewInactiveNote->isChecked();
    m_ui.viewInactiveNoteColor->setEnabled(inactive);
    m_ui.crInactiveNote->setEnabled(inactive && m_ui.viewInactiveNoteColor->isChecked());
    m_ui.viewInactiveMuteNoteColor->setEnabled(inactive);
    m_ui.crInactiveMuteNote->setEnabled(inactive && m_ui.viewInactiveMuteNoteColor->isChecked());
    m_ui.importRhythmAutoLengthLength->setEnabled(m_ui.importRhythmAutoLength->isChecked());
}

void COptionsDialog::BrowsePcmFolder() {
    const QString folder =
        QFileDialog::getExistingDirectory(this, tr("Wave サウンドファイルのデフォルトフォルダ"),
                                          FileChooserStart(m_ui.pcmDefaultPath->text()).directory);
    if (!folder.isEmpty())
        m_ui.pcmDefaultPath->setText(folder);
}

void COptionsDialog::CommitNumberList(QComboBox* list, int32_t minimum, int32_t maximum,
                                      int32_t fallback) {
    list->setEditText(QString::number(
        ListNumber(list, minimum, maximum, std::clamp(fallback, minimum, maximum))));
}

bool COptionsDialog::eventFilter(QObject* watched, QEvent* event) {
    // The lists are their lines' focus proxies, so the focus leaves the list, not the line.
    if (event->type() == QEvent::FocusOut) {
        if (watched == m_ui.pianoRollZoomX)
            CommitNumberList(m_ui.pianoRollZoomX, range::kZoomXMin, range::kZoomXMax,
                             m_options.pianoRollZoomX);
        else if (watched == m_ui.pianoRollZoomY)
            CommitNumberList(m_ui.pianoRollZoomY, range::kZoomYMin, range::kZoomYMax,
                             m_options.pianoRollZoomY);
        else if (watched == m_ui.playBufferSize)
            CommitNumberList(m_ui.playBufferSize, range::kPlayBufferMin, range::kPlayBufferMax,
                             m_options.playBufferSize);
    }
    return QDialog::eventFilter(watched, event);
}
