#include "dialogs/CPCMDialog.h"

#include "audio/CAudioFile.h"
#include "audio/Sonalo.h"
#include "dialogs/CNumberEdit.h"
#include "dialogs/internal/DialogUtil.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <limits>

namespace {

constexpr int64_t kMaxLoop = std::numeric_limits<int32_t>::max();
constexpr int kOctaves = 8;
constexpr int kKeysPerOctave = 12;

QStringList OctaveItems() {
    QStringList items;
    for (int octave = kOctaves; octave >= 1; --octave)
        items << QString::number(octave);
    return items;
}

QString UnitText(int unit) {
    return unit == 1 ? QCoreApplication::translate("CPCMDialog", "サンプル") : QStringLiteral("ms");
}

CNumberEdit* MakeLoopEdit(QWidget* parent, const char* name) {
    auto* edit = new CNumberEdit(parent);
    edit->setObjectName(QLatin1String(name));
    edit->SetRange(0, kMaxLoop);
    return edit;
}

} // namespace

void CPCMDialog::Ui::setupUi(QDialog* dialog) {
    dialog->setWindowTitle(QStringLiteral("PCM"));
    fileName = new QComboBox(dialog);
    fileName->setObjectName(QStringLiteral("fileName"));
    fileName->setEditable(true);
    fileName->setInsertPolicy(QComboBox::NoInsert);
    fileName->setMinimumContentsLength(32);
    browse = new QPushButton(QStringLiteral("..."), dialog);
    browse->setObjectName(QStringLiteral("browse"));
    audition = new QPushButton(QStringLiteral(">"), dialog);
    audition->setObjectName(QStringLiteral("audition"));
    for (QPushButton* b : {browse, audition}) {
        b->setAutoDefault(false);
        b->setFixedWidth(b->fontMetrics().horizontalAdvance(QStringLiteral("....")) + 16);
    }
    baseOctave = new QComboBox(dialog);
    baseOctave->setObjectName(QStringLiteral("baseOctave"));
    baseOctave->addItems(OctaveItems());
    baseKey = new QComboBox(dialog);
    baseKey->setObjectName(QStringLiteral("baseKey"));
    baseKey->addItems({"B", "Bb", "A", "Ab", "G", "Gb", "F", "E", "Eb", "D", "Db", "C"});
    loopStart = MakeLoopEdit(dialog, "loopStart");
    loopUnit = new QComboBox(dialog);
    loopUnit->setObjectName(QStringLiteral("loopUnit"));
    loopUnit->addItems({UnitText(0), UnitText(1)});
    loopEnd = MakeLoopEdit(dialog, "loopEnd");
    loopEndUnit = new QLabel(UnitText(0), dialog);
    loopEndUnit->setObjectName(QStringLiteral("loopEndUnit"));
    loopCount = MakeLoopEdit(dialog, "loopCount");
    mp3Note =
        new QLabel(QCoreApplication::translate(
                       "CPCMDialog", "MP3ファイルを使用するには、別途 vbmp3.dll が必要です。"),
                   dialog);
    mp3Note->setObjectName(QStringLiteral("mp3Note"));
    buttonBox = dlg::MakeButtonBox(dialog);

    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(fileName, 1);
    fileRow->addWidget(browse);
    fileRow->addWidget(audition);
    auto* grid = new QGridLayout;
    grid->addWidget(
        dlg::MakeLabel(QCoreApplication::translate("CPCMDialog", "ベースオクターブ(&O):"),
                       baseOctave, dialog),
        0, 0);
    grid->addWidget(baseOctave, 0, 1);
    grid->addWidget(dlg::MakeLabel(QCoreApplication::translate("CPCMDialog", "ベースキー(&K):"),
                                   baseKey, dialog),
                    1, 0);
    grid->addWidget(baseKey, 1, 1);
    grid->addWidget(dlg::MakeLabel(QCoreApplication::translate("CPCMDialog", "ループ開始位置(&B):"),
                                   loopStart, dialog),
                    2, 0);
    grid->addWidget(loopStart, 2, 1);
    grid->addWidget(loopUnit, 2, 2);
    grid->addWidget(dlg::MakeLabel(QCoreApplication::translate("CPCMDialog", "ループ終了位置(&E):"),
                                   loopEnd, dialog),
                    3, 0);
    grid->addWidget(loopEnd, 3, 1);
    grid->addWidget(loopEndUnit, 3, 2);
    grid->addWidget(dlg::MakeLabel(QCoreApplication::translate("CPCMDialog", "ループ回数(&C):"),
                                   loopCount, dialog),
                    4, 0);
    grid->addWidget(loopCount, 4, 1);
    grid->addWidget(
        new QLabel(QCoreApplication::translate("CPCMDialog", "(0で無限ループ)"), dialog), 4, 2);
    grid->setColumnStretch(1, 1);

    auto* layout = new QVBoxLayout(dialog);
    layout->addWidget(dlg::MakeLabel(
        QCoreApplication::translate("CPCMDialog", "サウンドファイル(&F)"), fileName, dialog));
    layout->addLayout(fileRow);
    layout->addLayout(grid);
    layout->addWidget(mp3Note);
    layout->addWidget(buttonBox);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

CPCMDialog::CPCMDialog(const OPTIONS& options, QWidget* parent)
    : QDialog(parent), m_options(options), m_audioFile(std::make_unique<CAudioFile>()),
      m_player(std::make_unique<Sonalo>()), m_chooseFile(ChooseFileToOpen) {
    m_ui.setupUi(this);
    FillFileList();
    connect(m_ui.browse, &QPushButton::clicked, this, &CPCMDialog::OnBrowse);
    connect(m_ui.audition, &QPushButton::clicked, this, &CPCMDialog::OnAudition);
    connect(m_ui.loopUnit, &QComboBox::currentIndexChanged, this, &CPCMDialog::OnUnitChanged);
    SetTrack(CTrackData());
}

CPCMDialog::~CPCMDialog() = default;

void CPCMDialog::SetTrack(const CTrackData& track) {
    m_track = track;
    const CPCM& pcm = m_track.pcm;
    m_ui.fileName->setCurrentText(QString::fromStdString(pcm.fileName));
    const int baseKey = std::clamp(pcm.baseKey, 0, kOctaves * kKeysPerOctave - 1);
    m_ui.baseOctave->setCurrentIndex(baseKey / kKeysPerOctave);
    m_ui.baseKey->setCurrentIndex(baseKey % kKeysPerOctave);
    m_ui.loopStart->SetValue(pcm.loopStart);
    m_ui.loopEnd->SetValue(pcm.loopEnd);
    m_ui.loopCount->SetValue(pcm.loopCount);
    // Shown without conversion: the stored positions already are in the stored unit.
    m_unit = pcm.loopUnit == 1 ? 1 : 0;
    const QSignalBlocker blocker(m_ui.loopUnit);
    m_ui.loopUnit->setCurrentIndex(m_unit);
    m_ui.loopEndUnit->setText(UnitText(m_unit));
}

CTrackData CPCMDialog::GetTrack() const {
    CTrackData track = m_track;
    CPCM& pcm = track.pcm;
    pcm.fileName = m_ui.fileName->currentText().toStdString();
    pcm.baseKey = m_ui.baseKey->currentIndex() + kKeysPerOctave * m_ui.baseOctave->currentIndex();
    pcm.loopStart = static_cast<int32_t>(m_ui.loopStart->Value());
    pcm.loopEnd = static_cast<int32_t>(m_ui.loopEnd->Value());
    pcm.loopCount = static_cast<int32_t>(m_ui.loopCount->Value());
    pcm.loopUnit = m_unit;
    return track;
}

bool CPCMDialog::IsAuditioning() const {
    return m_player->IsPlaying();
}

QString CPCMDialog::StoredName(const QString& path) {
    QString folder = QDir::cleanPath(QString::fromStdString(CPCM::DocumentsFolder()));
    if (folder.isEmpty())
        return path;
    if (!folder.endsWith(u'/'))
        folder += u'/';
    const QString clean = QDir::cleanPath(path);
    // Whole folder names only: "/home/a/Music2/x.wav" does not lie in "/home/a/Music".
    if (clean.startsWith(folder) && clean.size() > folder.size())
        return clean.mid(folder.size());
    return path;
}

int64_t CPCMDialog::ConvertLoopPosition(int64_t value, int32_t toUnit, uint32_t rate) {
    if (rate == 0 || value <= 0)
        return std::clamp<int64_t>(value, 0, kMaxLoop);
    const int64_t multiplier = toUnit == 1 ? int64_t(rate) : 1000;
    const int64_t divisor = toUnit == 1 ? 1000 : int64_t(rate);
    if (value > std::numeric_limits<int64_t>::max() / multiplier)
        return kMaxLoop;
    return std::min(value * multiplier / divisor, kMaxLoop);
}

void CPCMDialog::FillFileList() {
    if (m_options.pcmDefaultPath.empty())
        return;
    const QDir folder(QString::fromStdString(m_options.pcmDefaultPath));
    for (const char* pattern : {"*.wav", "*.mp3"}) {
        const QStringList names =
            folder.entryList({QLatin1String(pattern)}, QDir::Files | QDir::Readable, QDir::Name);
        for (const QString& name : names)
            m_ui.fileName->addItem(StoredName(folder.filePath(name)));
    }
}

QString CPCMDialog::CurrentPath() const {
    CPCM pcm;
    pcm.fileName = m_ui.fileName->currentText().toStdString();
    return QString::fromStdString(pcm.GetPath());
}

void CPCMDialog::OnBrowse() {
    const QString folder =
        FileChooserStart(QString::fromStdString(m_options.pcmDefaultPath)).directory;
    const QString path =
        m_chooseFile(this, folder, tr("サウンドファイル (*.wav *.mp3);;すべてのファイル (*)"));
    if (!path.isEmpty())
        m_ui.fileName->setCurrentText(StoredName(path));
}

// A WAV file goes to the device layer; anything else, or a WAV file the player refuses,
// to the decoder module when it is loaded.
void CPCMDialog::OnAudition() {
    m_player->Close();
    m_audioFile->StopAudition();
    const QString path = CurrentPath();
    if (path.endsWith(QLatin1String(".wav"), Qt::CaseInsensitive) &&
        m_player->Open(path, 0.0, 0.0) && m_player->Play())
        return;
    m_player->Close();
    if (m_audioFile->IsMp3Available())
        m_audioFile->Audition(path);
}

void CPCMDialog::OnUnitChanged(int unit) {
    if (unit < 0 || unit == m_unit)
        return;
    WAVE_FORMAT format;
    std::vector<uint8_t> data;
    if (m_audioFile->Load(CurrentPath(), format, data) && format.samplesPerSec > 0) {
        m_ui.loopStart->SetValue(
            ConvertLoopPosition(m_ui.loopStart->Value(), unit, format.samplesPerSec));
        m_ui.loopEnd->SetValue(
            ConvertLoopPosition(m_ui.loopEnd->Value(), unit, format.samplesPerSec));
    }
    m_unit = unit;
    m_ui.loopEndUnit->setText(UnitText(unit));
}
