#include "dialogs/CFMDialog.h"

#include "common/AppTitle.h"
#include "common/ClipboardFormats.h"
#include "dialogs/CEnvelopeWnd.h"
#include "dialogs/CKeyboardWnd.h"
#include "dialogs/CLFODialog.h"
#include "dialogs/CMultipleEdit.h"
#include "dialogs/CNumberEdit.h"
#include "model/CArchiveReader.h"
#include "model/CArchiveWriter.h"
#include "model/FileVersion.h"

#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QSlider>

#include <cmath>

namespace {

constexpr int kChoices = 8; // algorithms 0..7, feedback 0..7

// A value outside the list shows no entry; it is kept unless the user picks one.
void ShowChoice(QComboBox* list, int32_t value) {
    list->setCurrentIndex(value >= 0 && value < kChoices ? value : -1);
}

int32_t ChosenValue(const QComboBox* list, int32_t previous) {
    return list->currentIndex() >= 0 ? list->currentIndex() : previous;
}

} // namespace

CFMDialog::CFMDialog(const OPTIONS& options, QWidget* parent)
    : QDialog(parent), m_options(options) {
    m_ui.setupUi(this);
    m_ui.keyboard->SetPreview(&m_previewProject, &m_previewTrack, m_options.playBufferSize);
    for (int i = 0; i < kOperators; ++i)
        ConnectOperator(i);
    connect(m_ui.copy, &QPushButton::clicked, this, &CFMDialog::OnCopy);
    connect(m_ui.paste, &QPushButton::clicked, this, &CFMDialog::OnPaste);
    connect(m_ui.keyboard, &CKeyboardWnd::noteOn, this, &CFMDialog::OnNoteOn);
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this,
            &CFMDialog::StabilizeForm);
    SetTrack(CTrackData());
}

// The keyboard and the previews refer to members that go before the child widgets do, and
// hiding moves the focus out of a box, whose commit writes into the working copy.
CFMDialog::~CFMDialog() {
    hide();
    m_ui.keyboard->SetPreview(nullptr, nullptr, m_options.playBufferSize);
    for (OperatorColumn& op : m_ui.operators)
        op.preview->SetEnvelope(nullptr);
}

void CFMDialog::ConnectOperator(int index) {
    OperatorColumn& op = m_ui.operators[size_t(index)];
    const auto edited = [this, index] { OnEnvelopeEdited(index); };
    for (CNumberEdit* edit : op.EnvelopeEdits()) {
        connect(edit, &CNumberEdit::ValueEdited, this, edited);
        connect(edit, &CNumberEdit::Committed, this, edited);
    }
    connect(op.curve, &QComboBox::currentIndexChanged, this, edited);
    connect(op.span, &QSlider::valueChanged, this, [this, index] { OnSpan(index); });
    connect(op.lfo, &QPushButton::clicked, this, [this, index] { OnLFO(index); });
    op.preview->SetSpan(op.span->value() * 1000);
}

void CFMDialog::SetProjectData(const CProjectData& data) {
    m_previewProject.data = data;
    m_ui.keyboard->SetPreview(&m_previewProject, &m_previewTrack, m_options.playBufferSize);
}

void CFMDialog::SetTrack(const CTrackData& track) {
    m_track = track;
    LoadFields();
    StabilizeForm();
}

CTrackData CFMDialog::GetTrack() const {
    CTrackData track = m_track;
    StoreFields(track);
    return track;
}

std::vector<uint8_t> CFMDialog::CopyPayload(const CFM& fm) {
    CArchiveWriter writer;
    fm.Serialize(writer);
    return writer.Take();
}

std::optional<CFM> CFMDialog::PastePayload(std::span<const uint8_t> payload) {
    CFM fm;
    try {
        CArchiveReader reader(payload);
        fm.Serialize(reader, kFileVersion);
    } catch (const ArchiveError&) {
        return std::nullopt;
    }
    if (fm.algorithm < 0 || fm.algorithm >= kChoices)
        return std::nullopt;
    for (const CFMOperator& op : fm.operators)
        if (!std::isfinite(op.multiple))
            return std::nullopt;
    return fm;
}

void CFMDialog::LoadFields() {
    const QSignalBlocker algorithmBlocker(m_ui.algorithm);
    ShowChoice(m_ui.algorithm, m_track.fm.algorithm);
    ShowChoice(m_ui.feedback, m_track.fm.operators[0].feedback);
    for (int i = 0; i < kOperators; ++i) {
        OperatorColumn& op = m_ui.operators[size_t(i)];
        {
            const QSignalBlocker curveBlocker(op.curve);
            op.Load(m_track.fm.operators[size_t(i)]);
        }
        op.preview->SetEnvelope(&m_track.fm.operators[size_t(i)].envelope);
        op.preview->Redraw();
    }
}

void CFMDialog::StoreFields(CTrackData& track) const {
    CFM& fm = track.fm;
    fm.algorithm = ChosenValue(m_ui.algorithm, fm.algorithm);
    fm.operators[0].feedback = ChosenValue(m_ui.feedback, fm.operators[0].feedback);
    for (int i = 0; i < kOperators; ++i)
        m_ui.operators[size_t(i)].Store(fm.operators[size_t(i)]);
}

void CFMDialog::OnEnvelopeEdited(int index) {
    OperatorColumn& op = m_ui.operators[size_t(index)];
    op.Store(m_track.fm.operators[size_t(index)]);
    op.preview->Redraw();
}

void CFMDialog::OnSpan(int index) {
    OperatorColumn& op = m_ui.operators[size_t(index)];
    op.preview->SetSpan(op.span->value() * 1000);
    op.preview->Redraw();
}

void CFMDialog::OnLFO(int index) {
    CFMOperator& op = m_track.fm.operators[size_t(index)];
    CLFODialog dialog(this);
    dialog.SetLFOs(op.pitchLFO, op.ampLFO);
    if (dialog.exec() != QDialog::Accepted)
        return;
    op.pitchLFO = dialog.GetPitchLFO();
    op.ampLFO = dialog.GetAmpLFO();
}

void CFMDialog::OnCopy() {
    StoreFields(m_track);
    const std::vector<uint8_t> payload = CopyPayload(m_track.fm);
    auto* mime = new QMimeData;
    mime->setData(QLatin1String(kClipFm), QByteArray(reinterpret_cast<const char*>(payload.data()),
                                                     static_cast<qsizetype>(payload.size())));
    QGuiApplication::clipboard()->setMimeData(mime);
}

void CFMDialog::OnPaste() {
    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    std::optional<CFM> fm;
    if (mime != nullptr && mime->hasFormat(QLatin1String(kClipFm))) {
        const QByteArray bytes = mime->data(QLatin1String(kClipFm));
        fm = PastePayload(std::span(reinterpret_cast<const uint8_t*>(bytes.constData()),
                                    static_cast<size_t>(bytes.size())));
    }
    if (!fm) {
        QMessageBox(QMessageBox::Critical, QString::fromUtf8(kAppTitle),
                    tr("貼り付けに失敗しました。"), QMessageBox::Ok, this)
            .exec();
        return;
    }
    m_track.fm = *fm;
    LoadFields();
}

// The keyboard plays the sound as shown: every control goes into the working track first.
void CFMDialog::OnNoteOn() {
    StoreFields(m_track);
    m_previewTrack.settings = m_track;
    m_previewTrack.settings.waveform = kFm;
}

void CFMDialog::StabilizeForm() {
    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    m_ui.paste->setEnabled(mime != nullptr && mime->hasFormat(QLatin1String(kClipFm)));
}
