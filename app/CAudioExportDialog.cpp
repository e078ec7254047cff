#include "app/CAudioExportDialog.h"

#include "app/CEncodeDialog.h"
#include "audio/CEncode.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

#include <algorithm>
#include <iterator>

namespace {

constexpr SoundFileKind kKinds[] = {SoundFileKind::Wav, SoundFileKind::Flac,
                                    SoundFileKind::OggVorbis, SoundFileKind::Opus,
                                    SoundFileKind::Mp3};

QSpinBox* SpinBox(int least, int most, int value, QWidget* parent) {
    auto* box = new QSpinBox(parent);
    box->setRange(least, most);
    box->setValue(value);
    return box;
}

} // namespace

CAudioExportDialog::CAudioExportDialog(bool songHasLoop, QWidget* parent)
    : QDialog(parent), m_what(new QComboBox(this)), m_format(new QComboBox(this)),
      m_quality(SpinBox(0, 100, 70, this)), m_bitRate(new QComboBox(this)),
      m_passes(SpinBox(1, 1000, 2, this)), m_fade(SpinBox(0, 600000, 5000, this)),
      m_folder(new QLineEdit(this)), m_ok(nullptr) {
    setWindowTitle(tr("書き出し"));
    m_what->addItem(tr("曲全体"), kSong);
    m_what->addItem(tr("トラックごと (ミュートしていないトラック)"), kStems);
    if (songHasLoop)
        m_what->addItem(tr("無限ループ (シームレス)"), kLoop);
    m_format->addItems(
        {tr("WAV (プロジェクトの形式)"), tr("FLAC"), tr("Ogg Vorbis"), tr("Opus"), tr("MP3")});
    for (const int rate : CEncodeDialog::kBitRates)
        m_bitRate->addItem(tr("%1 kbps").arg(rate), rate);
    SetBitRate(CEncode::kDefaultBitRate);
    m_fade->setSuffix(tr(" ms"));
    auto* browse = new QPushButton(tr("参照(&B)..."), this);
    auto* folderRow = new QHBoxLayout;
    folderRow->addWidget(m_folder, 1);
    folderRow->addWidget(browse);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_ok = buttons->button(QDialogButtonBox::Ok);
    auto* form = new QFormLayout(this);
    form->addRow(tr("書き出す内容(&W):"), m_what);
    form->addRow(tr("ファイル形式(&F):"), m_format);
    form->addRow(tr("品質(&Q):"), m_quality);
    form->addRow(tr("ビットレート(&R):"), m_bitRate);
    form->addRow(tr("ループ回数(&N):"), m_passes);
    form->addRow(tr("フェードアウト(&O):"), m_fade);
    form->addRow(tr("保存先フォルダ(&D):"), folderRow);
    form->addRow(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(browse, &QPushButton::clicked, this, &CAudioExportDialog::ChooseFolder);
    connect(m_what, &QComboBox::currentIndexChanged, this, &CAudioExportDialog::Update);
    connect(m_format, &QComboBox::currentIndexChanged, this, &CAudioExportDialog::Update);
    connect(m_folder, &QLineEdit::textChanged, this, &CAudioExportDialog::Update);
    Update();
}

void CAudioExportDialog::SetFolder(const QString& folder) {
    m_folder->setText(folder);
}

void CAudioExportDialog::SetBitRate(int kilobits) {
    const int index = m_bitRate->findData(kilobits);
    m_bitRate->setCurrentIndex(index < 0 ? m_bitRate->findData(CEncode::kDefaultBitRate) : index);
}

// Only what the choices use is open to edit; a file needs a folder to go to.
void CAudioExportDialog::SetRange(int32_t start, int32_t end) {
    if (end <= start || m_rangeEnd > m_rangeStart)
        return;
    m_rangeStart = start;
    m_rangeEnd = end;
    m_what->addItem(tr("選択した音符の範囲"), kRange);
}

CAudioExportDialog::What CAudioExportDialog::Chosen() const {
    return static_cast<What>(m_what->currentData().toInt());
}

void CAudioExportDialog::Update() {
    const bool loop = Chosen() == kLoop;
    m_passes->setEnabled(loop);
    m_fade->setEnabled(loop);
    const SoundFileKind kind = Kind();
    m_quality->setEnabled(kind != SoundFileKind::Wav && kind != SoundFileKind::Mp3);
    m_bitRate->setEnabled(kind == SoundFileKind::Mp3);
    m_ok->setEnabled(!m_folder->text().trimmed().isEmpty());
}

void CAudioExportDialog::ChooseFolder() {
    const QString folder =
        QFileDialog::getExistingDirectory(this, tr("保存先フォルダ"), m_folder->text());
    if (!folder.isEmpty())
        m_folder->setText(folder);
}

SoundFileKind CAudioExportDialog::Kind() const {
    return kKinds[std::clamp(m_format->currentIndex(), 0, int(std::size(kKinds)) - 1)];
}

EXPORT_REQUEST CAudioExportDialog::Request() const {
    EXPORT_REQUEST request;
    request.kind = Kind();
    request.quality = m_quality->value() / 100.0;
    request.bitRate = m_bitRate->currentData().toInt();
    request.stems = Chosen() == kStems;
    if (Chosen() == kLoop) {
        request.loopPasses = m_passes->value();
        request.fadeMs = m_fade->value();
    }
    if (Chosen() == kRange) {
        request.rangeStart = m_rangeStart;
        request.rangeEnd = m_rangeEnd;
    }
    request.folder = m_folder->text().trimmed().toStdString();
    return request;
}
