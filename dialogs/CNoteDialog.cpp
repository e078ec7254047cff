#include "dialogs/CNoteDialog.h"

#include "dialogs/CNumberEdit.h"
#include "dialogs/CPositionEdit.h"
#include "dialogs/internal/DialogUtil.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QVBoxLayout>

#include <functional>
#include <limits>

namespace {

constexpr int64_t kMax32 = std::numeric_limits<int32_t>::max();
constexpr int64_t kMin32 = std::numeric_limits<int32_t>::min();
constexpr int kOctaves = 8;
constexpr int kKeysPerOctave = 12;

CNumberEdit* MakeNumber(QDialog* dialog, const char* name, int64_t minimum, int64_t maximum) {
    auto* edit = new CNumberEdit(dialog);
    edit->setObjectName(QLatin1String(name));
    edit->SetRange(minimum, maximum);
    edit->SetAllowEmpty(true);
    return edit;
}

QComboBox* MakeList(QDialog* dialog, const char* name, const QStringList& items) {
    auto* list = new QComboBox(dialog);
    list->setObjectName(QLatin1String(name));
    list->addItems(items);
    return list;
}

// The value all notes share, or nothing when they differ.
std::optional<int32_t> Common(const CConstNoteArray& notes, int32_t (*get)(const CNote&)) {
    if (notes.empty())
        return std::nullopt;
    const int32_t first = get(*notes.front());
    for (const CNote* note : notes)
        if (get(*note) != first)
            return std::nullopt;
    return first;
}

void Show(CNumberEdit* edit, std::optional<int32_t> value) {
    if (value)
        edit->SetValue(*value);
    else
        edit->SetEmpty();
}

std::optional<int32_t> Changed(bool changed, const CNumberEdit* edit) {
    if (!changed || edit->IsEmpty())
        return std::nullopt;
    return static_cast<int32_t>(edit->Value());
}

std::optional<int32_t> Changed(bool changed, const QComboBox* list) {
    if (!changed || list->currentIndex() < 0)
        return std::nullopt;
    return list->currentIndex();
}

} // namespace

bool NOTE_CHANGES::IsEmpty() const {
    return !position && !length && !keyoff && !octave && !keyInOctave && !volume &&
           !portamentoStart && !portamentoLength && !portamentoLevel;
}

void NOTE_CHANGES::ApplyTo(CNote& note) const {
    note.position = position.value_or(note.position);
    note.length = length.value_or(note.length);
    note.keyoff = keyoff.value_or(note.keyoff);
    const int32_t oldOctave = note.key / kKeysPerOctave;
    const int32_t oldKey = note.key % kKeysPerOctave;
    note.key = keyInOctave.value_or(oldKey) + kKeysPerOctave * octave.value_or(oldOctave);
    note.volume = volume.value_or(note.volume);
    note.portamentoStart = portamentoStart.value_or(note.portamentoStart);
    note.portamentoLength = portamentoLength.value_or(note.portamentoLength);
    note.portamentoLevel = portamentoLevel.value_or(note.portamentoLevel);
}

void CNoteDialog::Ui::setupUi(QDialog* dialog) {
    dialog->setWindowTitle(QCoreApplication::translate("CNoteDialog", "音符"));
    position = new CPositionEdit(dialog);
    position->setObjectName(QStringLiteral("position"));
    length = MakeNumber(dialog, "length", 1, kMax32);
    keyoff = MakeNumber(dialog, "keyoff", 0, kMax32);
    QStringList octaves;
    for (int i = 0; i < kOctaves; ++i)
        octaves << QString::number(kOctaves - i);
    octave = MakeList(dialog, "octave", octaves);
    key =
        MakeList(dialog, "key", {"B", "Bb", "A", "Ab", "G", "Gb", "F", "E", "Eb", "D", "Db", "C"});
    volume = MakeNumber(dialog, "volume", 0, 255);
    portamentoStart = MakeNumber(dialog, "portamentoStart", 0, kMax32);
    portamentoLength = MakeNumber(dialog, "portamentoLength", 0, kMax32);
    portamentoLevel = MakeNumber(dialog, "portamentoLevel", kMin32, kMax32);
    buttonBox = dlg::MakeButtonBox(dialog);

    auto* form = new QFormLayout;
    form->addRow(
        dlg::MakeLabel(QCoreApplication::translate("CNoteDialog", "位置(&P):"), position, dialog),
        position);
    form->addRow(
        dlg::MakeLabel(QCoreApplication::translate("CNoteDialog", "長さ(&L):"), length, dialog),
        length);
    form->addRow(
        dlg::MakeLabel(QCoreApplication::translate("CNoteDialog", "キーオフ(&F):"), keyoff, dialog),
        keyoff);
    form->addRow(dlg::MakeLabel(QCoreApplication::translate("CNoteDialog", "オクターブ(&O):"),
                                octave, dialog),
                 octave);
    form->addRow(
        dlg::MakeLabel(QCoreApplication::translate("CNoteDialog", "キー(&K):"), key, dialog), key);
    form->addRow(
        dlg::MakeLabel(QCoreApplication::translate("CNoteDialog", "音量(&V):"), volume, dialog),
        volume);

    auto* group = new QGroupBox(QCoreApplication::translate("CNoteDialog", "ポルタメント"), dialog);
    auto* groupForm = new QFormLayout(group);
    groupForm->addRow(dlg::MakeLabel(QCoreApplication::translate("CNoteDialog", "開始位置(&B):"),
                                     portamentoStart, group),
                      portamentoStart);
    groupForm->addRow(dlg::MakeLabel(QCoreApplication::translate("CNoteDialog", "長さ(&N):"),
                                     portamentoLength, group),
                      portamentoLength);
    groupForm->addRow(dlg::MakeLabel(QCoreApplication::translate("CNoteDialog", "レベル(&E):"),
                                     portamentoLevel, group),
                      portamentoLevel);

    auto* layout = new QVBoxLayout(dialog);
    layout->addLayout(form);
    layout->addWidget(group);
    layout->addWidget(buttonBox);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

CNoteDialog::CNoteDialog(QWidget* parent) : QDialog(parent) {
    m_ui.setupUi(this);
    ConnectChanges();
}

void CNoteDialog::ConnectChanges() {
    auto mark = [this](Field field) { return [this, field] { m_changed[field] = true; }; };
    connect(m_ui.position, &QLineEdit::textEdited, this, mark(kPosition));
    connect(m_ui.length, &CNumberEdit::ValueEdited, this, mark(kLength));
    connect(m_ui.keyoff, &CNumberEdit::ValueEdited, this, mark(kKeyoff));
    connect(m_ui.octave, &QComboBox::activated, this, mark(kOctave));
    connect(m_ui.key, &QComboBox::activated, this, mark(kKey));
    connect(m_ui.volume, &CNumberEdit::ValueEdited, this, mark(kVolume));
    connect(m_ui.portamentoStart, &CNumberEdit::ValueEdited, this, mark(kPortamentoStart));
    connect(m_ui.portamentoLength, &CNumberEdit::ValueEdited, this, mark(kPortamentoLength));
    connect(m_ui.portamentoLevel, &CNumberEdit::ValueEdited, this, mark(kPortamentoLevel));
}

void CNoteDialog::SetBeats(const CBeats* beats) {
    m_ui.position->SetBeats(beats);
}

void CNoteDialog::SetNotes(const CConstNoteArray& notes) {
    ShowCommonValues(notes);
    std::fill(std::begin(m_changed), std::end(m_changed), false);
}

void CNoteDialog::ShowCommonValues(const CConstNoteArray& notes) {
    const auto position = Common(notes, [](const CNote& n) { return n.position; });
    m_ui.position->SetPosition(position.value_or(-1));
    Show(m_ui.length, Common(notes, [](const CNote& n) { return n.length; }));
    Show(m_ui.keyoff, Common(notes, [](const CNote& n) { return n.keyoff; }));
    const auto octave = Common(notes, [](const CNote& n) { return n.key / kKeysPerOctave; });
    m_ui.octave->setCurrentIndex(octave.value_or(-1));
    const auto key = Common(notes, [](const CNote& n) { return n.key % kKeysPerOctave; });
    m_ui.key->setCurrentIndex(key.value_or(-1));
    Show(m_ui.volume, Common(notes, [](const CNote& n) { return n.volume; }));
    Show(m_ui.portamentoStart, Common(notes, [](const CNote& n) { return n.portamentoStart; }));
    Show(m_ui.portamentoLength, Common(notes, [](const CNote& n) { return n.portamentoLength; }));
    Show(m_ui.portamentoLevel, Common(notes, [](const CNote& n) { return n.portamentoLevel; }));
}

NOTE_CHANGES CNoteDialog::GetChanges() const {
    NOTE_CHANGES changes;
    // An emptied box means "leave as it is", never "move every note to the start".
    if (m_changed[kPosition] && !m_ui.position->text().isEmpty() &&
        m_ui.position->GetPosition() >= 0)
        changes.position = m_ui.position->GetPosition();
    changes.length = Changed(m_changed[kLength], m_ui.length);
    changes.keyoff = Changed(m_changed[kKeyoff], m_ui.keyoff);
    changes.octave = Changed(m_changed[kOctave], m_ui.octave);
    changes.keyInOctave = Changed(m_changed[kKey], m_ui.key);
    changes.volume = Changed(m_changed[kVolume], m_ui.volume);
    changes.portamentoStart = Changed(m_changed[kPortamentoStart], m_ui.portamentoStart);
    changes.portamentoLength = Changed(m_changed[kPortamentoLength], m_ui.portamentoLength);
    changes.portamentoLevel = Changed(m_changed[kPortamentoLevel], m_ui.portamentoLevel);
    return changes;
}
