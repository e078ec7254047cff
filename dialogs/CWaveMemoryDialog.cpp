#include "dialogs/CWaveMemoryDialog.h"

#include "audio/CAudioFile.h"
#include "common/AppTitle.h"
#include "common/ClipboardFormats.h"
#include "dialogs/CKeyboardWnd.h"
#include "dialogs/CWaveMemoryEditWnd.h"
#include "dialogs/WaveCycle.h"
#include "dialogs/internal/DialogUtil.h"
#include "model/CArchiveReader.h"
#include "model/CArchiveWriter.h"

#include <QClipboard>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QVBoxLayout>

#include <array>

namespace {

struct WAVE_SIZE {
    int32_t count;
    int32_t height;
};
constexpr std::array<WAVE_SIZE, 3> kSizes = {{{32, 16}, {64, 32}, {128, 64}}};

constexpr const char* kStateGroup = "WaveMemoryDialog State";

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& text) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    return button;
}

} // namespace

void CWaveMemoryDialog::Ui::setupUi(QDialog* dialog) {
    dialog->setWindowTitle(QCoreApplication::translate("CWaveMemoryDialog", "波形メモリ音源"));
    size = new QComboBox(dialog);
    size->setObjectName(QStringLiteral("size"));
    size->addItems({QCoreApplication::translate("CWaveMemoryDialog", "小"),
                    QCoreApplication::translate("CWaveMemoryDialog", "中"),
                    QCoreApplication::translate("CWaveMemoryDialog", "大")});
    editor = new CWaveMemoryEditWnd(dialog);
    keyboard = new CKeyboardWnd(dialog);
    copy =
        MakeButton(dialog, "copy", QCoreApplication::translate("CWaveMemoryDialog", "コピー(&C)"));
    paste = MakeButton(dialog, "paste",
                       QCoreApplication::translate("CWaveMemoryDialog", "貼り付け(&P)"));
    importWave = MakeButton(dialog, "importWave", CWaveMemoryDialog::tr("読み込み(&I)..."));
    buttonBox = dlg::MakeButtonBox(dialog);

    auto* sizeRow = new QHBoxLayout;
    sizeRow->addWidget(dlg::MakeLabel(
        QCoreApplication::translate("CWaveMemoryDialog", "サイズ(&S):"), size, dialog));
    sizeRow->addWidget(size);
    sizeRow->addStretch(1);
    auto* buttonRow = new QHBoxLayout;
    buttonRow->addWidget(copy);
    buttonRow->addWidget(paste);
    buttonRow->addWidget(importWave);
    buttonRow->addStretch(1);
    buttonRow->addWidget(buttonBox);
    // The editor takes every extra pixel; the keyboard only widens; the buttons keep to the
    // bottom corners.
    auto* layout = new QVBoxLayout(dialog);
    layout->addLayout(sizeRow);
    layout->addWidget(editor, 1);
    layout->addWidget(keyboard);
    layout->addLayout(buttonRow);
}

CWaveMemoryDialog::CWaveMemoryDialog(const OPTIONS& options, QSettings* state, QWidget* parent)
    : QDialog(parent), m_options(options), m_state(state), m_chooseFile(ChooseFileToOpen) {
    m_ui.setupUi(this);
    setSizeGripEnabled(true);
    m_ui.keyboard->SetPreview(&m_previewProject, &m_previewTrack, m_options.playBufferSize);
    connect(m_ui.size, &QComboBox::activated, this, &CWaveMemoryDialog::OnSizeChosen);
    connect(m_ui.copy, &QPushButton::clicked, this, &CWaveMemoryDialog::OnCopy);
    connect(m_ui.paste, &QPushButton::clicked, this, &CWaveMemoryDialog::OnPaste);
    connect(m_ui.importWave, &QPushButton::clicked, this, &CWaveMemoryDialog::OnImport);
    connect(m_ui.keyboard, &CKeyboardWnd::noteOn, this, &CWaveMemoryDialog::OnNoteOn);
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this,
            &CWaveMemoryDialog::StabilizeForm);
    SetTrack(CTrackData());
    RestoreSize();
}

// The keyboard refers to the preview track and project, which go before it does.
CWaveMemoryDialog::~CWaveMemoryDialog() {
    m_ui.keyboard->SetPreview(nullptr, nullptr, m_options.playBufferSize);
}

void CWaveMemoryDialog::SetProjectData(const CProjectData& data) {
    m_previewProject.data = data;
    m_ui.keyboard->SetPreview(&m_previewProject, &m_previewTrack, m_options.playBufferSize);
}

void CWaveMemoryDialog::SetTrack(const CTrackData& track) {
    m_track = track;
    ShowWave();
}

CTrackData CWaveMemoryDialog::GetTrack() const {
    CTrackData track = m_track;
    track.waveMemory = m_ui.editor->Wave();
    return track;
}

int CWaveMemoryDialog::SizeIndex(const CWaveMemory& wave) {
    for (size_t i = 0; i < kSizes.size(); ++i)
        if (wave.samples.size() == size_t(kSizes[i].count) && wave.height == kSizes[i].height)
            return static_cast<int>(i);
    return -1;
}

std::vector<uint8_t> CWaveMemoryDialog::CopyPayload(const CWaveMemory& wave) {
    CArchiveWriter writer;
    wave.Serialize(writer);
    return writer.Take();
}

std::optional<CWaveMemory> CWaveMemoryDialog::PastePayload(std::span<const uint8_t> payload) {
    CWaveMemory wave;
    try {
        CArchiveReader reader(payload);
        wave.Serialize(reader);
    } catch (const ArchiveError&) {
        return std::nullopt;
    }
    if (wave.samples.empty() || wave.height < 2)
        return std::nullopt;
    return wave;
}

void CWaveMemoryDialog::ShowWave() {
    m_ui.editor->SetWave(m_track.waveMemory);
    m_ui.size->setCurrentIndex(SizeIndex(m_track.waveMemory));
    StabilizeForm();
}

void CWaveMemoryDialog::OnSizeChosen(int index) {
    if (index < 0 || index >= static_cast<int>(kSizes.size()))
        return;
    m_ui.editor->Resize(kSizes[size_t(index)].count, kSizes[size_t(index)].height);
}

void CWaveMemoryDialog::OnCopy() {
    m_track.waveMemory = m_ui.editor->Wave();
    const std::vector<uint8_t> payload = CopyPayload(m_track.waveMemory);
    auto* mime = new QMimeData;
    mime->setData(QLatin1String(kClipWaveMemory),
                  QByteArray(reinterpret_cast<const char*>(payload.data()),
                             static_cast<qsizetype>(payload.size())));
    QGuiApplication::clipboard()->setMimeData(mime);
}

void CWaveMemoryDialog::OnPaste() {
    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    std::optional<CWaveMemory> wave;
    if (mime != nullptr && mime->hasFormat(QLatin1String(kClipWaveMemory))) {
        const QByteArray bytes = mime->data(QLatin1String(kClipWaveMemory));
        wave = PastePayload(std::span(reinterpret_cast<const uint8_t*>(bytes.constData()),
                                      static_cast<size_t>(bytes.size())));
    }
    if (!wave) {
        ShowError(tr("貼り付けに失敗しました。"));
        return;
    }
    m_track.waveMemory = std::move(*wave);
    ShowWave();
}

// The wave keeps its length and levels; only its shape comes from the file.
void CWaveMemoryDialog::OnImport() {
    const QString path = m_chooseFile(
        this, FileChooserStart(QString::fromStdString(m_options.pcmDefaultPath)).directory,
        tr("WAVファイル (*.wav);;すべてのファイル (*)"));
    if (path.isEmpty())
        return;
    WAVE_FORMAT format;
    std::vector<uint8_t> data;
    const size_t frames =
        CAudioFile().Load(path, format, data) ? wavecycle::FrameCount(format, data.size()) : 0;
    if (frames == 0) {
        ShowError(tr("波形の読み込みに失敗しました。"));
        return;
    }
    if (frames > wavecycle::kMaxFrames) {
        ShowError(
            tr("1周期の波形として読み込めるのは %1 サンプルまでです。").arg(wavecycle::kMaxFrames));
        return;
    }
    const CWaveMemory& wave = m_ui.editor->Wave();
    m_track.waveMemory =
        wavecycle::Quantise(wavecycle::Frames(format, std::move(data)),
                            static_cast<int32_t>(wave.samples.size()), wave.height);
    ShowWave();
}

void CWaveMemoryDialog::ShowError(const QString& text) {
    QMessageBox(QMessageBox::Critical, QString::fromUtf8(kAppTitle), text, QMessageBox::Ok, this)
        .exec();
}

// The keyboard plays the wave as drawn, with the rest of the track as it came in.
void CWaveMemoryDialog::OnNoteOn() {
    m_previewTrack.settings = GetTrack();
    m_previewTrack.settings.waveform = kWaveMemory;
}

void CWaveMemoryDialog::StabilizeForm() {
    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    m_ui.paste->setEnabled(mime != nullptr && mime->hasFormat(QLatin1String(kClipWaveMemory)));
}

void CWaveMemoryDialog::RestoreSize() {
    if (m_state == nullptr || m_options.restoreWindow == 0)
        return;
    m_state->beginGroup(QLatin1String(kStateGroup));
    const int width = m_state->value(QStringLiteral("Width"), 0).toInt();
    const int height = m_state->value(QStringLiteral("Height"), 0).toInt();
    m_state->endGroup();
    if (width <= 0 || height <= 0)
        return;
    // A stored size from another screen, or a damaged one, is kept within this screen.
    QSize limit(4096, 4096);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        limit = limit.boundedTo(screen->availableGeometry().size());
    const QSize wanted = QSize(width, height).boundedTo(limit).expandedTo(minimumSizeHint());
    resize(wanted);
}

void CWaveMemoryDialog::done(int result) {
    if (m_state != nullptr) {
        m_state->beginGroup(QLatin1String(kStateGroup));
        m_state->setValue(QStringLiteral("Width"), width());
        m_state->setValue(QStringLiteral("Height"), height());
        m_state->endGroup();
    }
    QDialog::done(result);
}
