#include "dialogs/CProjectDialog.h"

#include "dialogs/CBeatListDialog.h"
#include "dialogs/CDecimalEdit.h"
#include "dialogs/CLoopDialog.h"
#include "dialogs/CNumberEdit.h"
#include "dialogs/CTempoListDialog.h"
#include "dialogs/CVolumeListDialog.h"
#include "dialogs/internal/DialogUtil.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include <algorithm>
#include <array>

namespace {

constexpr int32_t kMinRate = 1000;
constexpr int32_t kMaxRate = 384000;
constexpr std::array<int32_t, 5> kBits = {8, 16, 24, 32, 64};

CNumberEdit* MakeNumber(QWidget* parent, const char* name, int64_t minimum, int64_t maximum) {
    auto* edit = new CNumberEdit(parent);
    edit->setObjectName(QLatin1String(name));
    edit->SetRange(minimum, maximum);
    return edit;
}

QComboBox* MakeList(QWidget* parent, const char* name, const QStringList& items) {
    auto* list = new QComboBox(parent);
    list->setObjectName(QLatin1String(name));
    list->addItems(items);
    return list;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& text) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    return button;
}

QComboBox* MakeRateList(QWidget* parent) {
    QComboBox* rate = MakeList(parent, "samplesPerSec",
                               {"384000", "192000", "96000", "48000", "44100", "32000", "22050",
                                "16000", "11050", "8000", "4000", "2000", "1000"});
    rate->setEditable(true);
    rate->setInsertPolicy(QComboBox::NoInsert);
    // Completing "5" to "512" would turn a typed number into another one.
    rate->setCompleter(nullptr);
    rate->setMaxVisibleItems(13);
    rate->lineEdit()->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9]{0,9}")), rate->lineEdit()));
    return rate;
}

} // namespace

QGroupBox* CProjectDialog::Ui::SongGroup(QWidget* parent) {
    auto* song = new QGroupBox(QCoreApplication::translate("CProjectDialog", "曲"), parent);
    volume = MakeNumber(song, "volume", 0, 255);
    volumeList = MakeButton(song, "volumeList", QStringLiteral("..."));
    tempo = new CDecimalEdit(song);
    tempo->setObjectName(QStringLiteral("tempo"));
    tempo->SetRange(10.0, 1000.0);
    tempoList = MakeButton(song, "tempoList", QStringLiteral("..."));
    transpose = MakeNumber(song, "transpose", -100, 100);
    beat = MakeNumber(song, "beat", 1, 64);
    baseBeat = MakeList(song, "baseBeat", dlg::BaseBeatItems());
    beatList = MakeButton(song, "beatList", QStringLiteral("..."));
    loop = MakeButton(song, "loop",
                      QCoreApplication::translate("CProjectDialog", "無限ループの設定(&L)..."));
    for (QPushButton* b : {volumeList, tempoList, beatList})
        b->setFixedWidth(b->fontMetrics().horizontalAdvance(QStringLiteral("....")) + 16);

    auto* songGrid = new QGridLayout(song);
    songGrid->addWidget(
        dlg::MakeLabel(QCoreApplication::translate("CProjectDialog", "音量(&V):"), volume, song), 0,
        0);
    songGrid->addWidget(volume, 0, 1, 1, 3);
    songGrid->addWidget(volumeList, 0, 4);
    songGrid->addWidget(
        dlg::MakeLabel(QCoreApplication::translate("CProjectDialog", "テンポ(&T):"), tempo, song),
        1, 0);
    songGrid->addWidget(tempo, 1, 1, 1, 3);
    songGrid->addWidget(tempoList, 1, 4);
    songGrid->addWidget(
        dlg::MakeLabel(QCoreApplication::translate("CProjectDialog", "移調(&R):"), transpose, song),
        2, 0);
    songGrid->addWidget(transpose, 2, 1, 1, 3);
    songGrid->addWidget(
        dlg::MakeLabel(QCoreApplication::translate("CProjectDialog", "拍子(&B):"), beat, song), 3,
        0);
    songGrid->addWidget(beat, 3, 1);
    songGrid->addWidget(new QLabel(QStringLiteral("/"), song), 3, 2);
    songGrid->addWidget(baseBeat, 3, 3);
    songGrid->addWidget(beatList, 3, 4);
    songGrid->addWidget(loop, 4, 0, 1, 5, Qt::AlignLeft);
    songGrid->setColumnStretch(1, 1);
    songGrid->setColumnStretch(3, 1);
    return song;
}

QGroupBox* CProjectDialog::Ui::OutputGroup(QWidget* parent) {
    auto* output =
        new QGroupBox(QCoreApplication::translate("CProjectDialog", "出力ファイル"), parent);
    channels = MakeList(output, "channels",
                        {QCoreApplication::translate("CProjectDialog", "1 (モノラル)"),
                         QCoreApplication::translate("CProjectDialog", "2 (ステレオ)")});
    samplesPerSec = MakeRateList(output);
    bitsPerSample =
        MakeList(output, "bitsPerSample",
                 {"8bit (PCM)", "16bit (PCM)", "24bit (PCM)", "32bit (FLOAT)", "64bit (FLOAT)"});
    startDummy = MakeNumber(output, "startDummy", 0, 10000);
    endDummy = MakeNumber(output, "endDummy", 0, 10000);
    fadeOut = MakeNumber(output, "fadeOut", 0, 100000);
    fadeOutType = MakeList(output, "fadeOutType",
                           {QCoreApplication::translate("CProjectDialog", "直線"),
                            QCoreApplication::translate("CProjectDialog", "曲線1"),
                            QCoreApplication::translate("CProjectDialog", "曲線2")});
    reductionPuchiNoise = new QCheckBox(
        QCoreApplication::translate("CProjectDialog", "プチノイズを軽減する(&N)"), output);
    reductionPuchiNoise->setObjectName(QStringLiteral("reductionPuchiNoise"));

    auto* outGrid = new QGridLayout(output);
    int row = 0;
    const auto addRow = [&](const QString& text, QWidget* field, const QString& unit,
                            QWidget* extra) {
        outGrid->addWidget(dlg::MakeLabel(text, field, output), row, 0);
        outGrid->addWidget(field, row, 1);
        if (!unit.isEmpty())
            outGrid->addWidget(new QLabel(unit, output), row, 2);
        if (extra != nullptr)
            outGrid->addWidget(extra, row, 3);
        ++row;
    };
    addRow(QCoreApplication::translate("CProjectDialog", "チャンネル数(&C):"), channels, {},
           nullptr);
    addRow(QCoreApplication::translate("CProjectDialog", "サンプリング周期(&Q):"), samplesPerSec,
           QStringLiteral("Hz"), nullptr);
    addRow(QCoreApplication::translate("CProjectDialog", "サンプリングビット数(&I):"),
           bitsPerSample, {}, nullptr);
    addRow(QCoreApplication::translate("CProjectDialog", "最初の無音時間(&S):"), startDummy,
           QStringLiteral("ms"), nullptr);
    addRow(QCoreApplication::translate("CProjectDialog", "最後の無音時間(&E):"), endDummy,
           QStringLiteral("ms"), nullptr);
    addRow(QCoreApplication::translate("CProjectDialog", "フェードアウト(&O):"), fadeOut,
           QStringLiteral("ms"), fadeOutType);
    outGrid->addWidget(reductionPuchiNoise, row, 0, 1, 4);
    outGrid->setColumnStretch(1, 1);
    return output;
}

void CProjectDialog::Ui::setupUi(QDialog* dialog) {
    dialog->setWindowTitle(QCoreApplication::translate("CProjectDialog", "プロジェクトの設定"));
    auto* layout = new QVBoxLayout(dialog);
    layout->addWidget(SongGroup(dialog));
    layout->addWidget(OutputGroup(dialog));
    buttonBox = dlg::MakeButtonBox(dialog);
    layout->addWidget(buttonBox);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

CProjectDialog::CProjectDialog(QWidget* parent) : QDialog(parent) {
    m_ui.setupUi(this);
    connect(m_ui.volumeList, &QPushButton::clicked, this, &CProjectDialog::OnVolumeList);
    connect(m_ui.tempoList, &QPushButton::clicked, this, &CProjectDialog::OnTempoList);
    connect(m_ui.beatList, &QPushButton::clicked, this, &CProjectDialog::OnBeatList);
    connect(m_ui.loop, &QPushButton::clicked, this, &CProjectDialog::OnLoop);
    connect(m_ui.samplesPerSec, &QComboBox::activated, this, &CProjectDialog::CommitRate);
    m_ui.samplesPerSec->installEventFilter(this);
    LoadFields();
}

void CProjectDialog::SetProjectData(const CProjectData& data) {
    m_data = data;
    LoadFields();
}

CProjectData CProjectDialog::GetProjectData() const {
    CProjectData data = m_data;
    StoreFields(data);
    return data;
}

void CProjectDialog::SetTempoListEnabled(bool enabled) {
    m_ui.tempoList->setEnabled(enabled);
}

void CProjectDialog::SetBeatListEnabled(bool enabled) {
    m_ui.beatList->setEnabled(enabled);
}

int32_t CProjectDialog::ClampRate(const QString& text, int32_t fallback) {
    bool ok = false;
    const qlonglong value = text.trimmed().toLongLong(&ok);
    if (!ok)
        return fallback;
    return static_cast<int32_t>(std::clamp<qlonglong>(value, kMinRate, kMaxRate));
}

void CProjectDialog::LoadFields() {
    m_ui.volume->SetValue(m_data.volumes.size() > 0 ? m_data.volumes[0].volume : VOLUME{}.volume);
    m_ui.tempo->SetValue(m_data.tempos.size() > 0 ? m_data.tempos[0].tempo : TEMPO{}.tempo);
    m_ui.transpose->SetValue(m_data.transpose);
    const BEAT first = m_data.beats.size() > 0 ? m_data.beats[0] : BEAT{};
    m_ui.beat->SetValue(first.beat);
    m_ui.baseBeat->setCurrentIndex(dlg::BaseBeatIndex(first.baseBeat));
    m_ui.channels->setCurrentIndex(std::clamp(m_data.channels, 1, 2) - 1);
    m_ui.samplesPerSec->setEditText(
        QString::number(std::clamp(m_data.samplesPerSec, kMinRate, kMaxRate)));
    const auto bits = std::find(kBits.begin(), kBits.end(), m_data.bitsPerSample);
    m_ui.bitsPerSample->setCurrentIndex(bits == kBits.end() ? 1 : int(bits - kBits.begin()));
    m_ui.startDummy->SetValue(m_data.startDummy);
    m_ui.endDummy->SetValue(m_data.endDummy);
    m_ui.fadeOut->SetValue(m_data.fadeOut);
    m_ui.fadeOutType->setCurrentIndex(std::clamp(m_data.fadeOutType, 0, 2));
    m_ui.reductionPuchiNoise->setChecked(m_data.reductionPuchiNoise != 0);
}

void CProjectDialog::StoreFields(CProjectData& data) const {
    if (data.volumes.size() > 0)
        data.volumes.SetAt(0, VOLUME{0, static_cast<int32_t>(m_ui.volume->Value())});
    if (data.tempos.size() > 0)
        data.tempos.SetAt(0, TEMPO{0, m_ui.tempo->Value()});
    if (data.beats.size() > 0)
        data.beats.SetAt(0, BEAT{0, static_cast<int32_t>(m_ui.beat->Value()),
                                 dlg::BaseBeatFromIndex(m_ui.baseBeat->currentIndex())});
    data.transpose = static_cast<int32_t>(m_ui.transpose->Value());
    data.channels = m_ui.channels->currentIndex() + 1;
    data.samplesPerSec = ClampRate(m_ui.samplesPerSec->currentText(),
                                   std::clamp(m_data.samplesPerSec, kMinRate, kMaxRate));
    data.bitsPerSample = kBits[size_t(std::max(m_ui.bitsPerSample->currentIndex(), 0))];
    data.startDummy = static_cast<int32_t>(m_ui.startDummy->Value());
    data.endDummy = static_cast<int32_t>(m_ui.endDummy->Value());
    data.fadeOut = static_cast<int32_t>(m_ui.fadeOut->Value());
    data.fadeOutType = std::max(m_ui.fadeOutType->currentIndex(), 0);
    data.reductionPuchiNoise = m_ui.reductionPuchiNoise->isChecked() ? 1 : 0;
}

void CProjectDialog::CommitRate() {
    const int32_t rate = ClampRate(m_ui.samplesPerSec->currentText(),
                                   std::clamp(m_data.samplesPerSec, kMinRate, kMaxRate));
    m_ui.samplesPerSec->setEditText(QString::number(rate));
}

bool CProjectDialog::eventFilter(QObject* watched, QEvent* event) {
    // The list is the line's focus proxy, so the focus leaves the list, not the line.
    if (watched == m_ui.samplesPerSec && event->type() == QEvent::FocusOut)
        CommitRate();
    return QDialog::eventFilter(watched, event);
}

void CProjectDialog::OnVolumeList() {
    m_data = GetProjectData();
    CVolumeListDialog dialog(this);
    dialog.SetBeats(&m_data.beats);
    dialog.SetList(m_data.volumes);
    if (dialog.exec() != QDialog::Accepted)
        return;
    m_data.volumes = dialog.GetList();
    LoadFields();
}

void CProjectDialog::OnTempoList() {
    m_data = GetProjectData();
    CTempoListDialog dialog(this);
    dialog.SetBeats(&m_data.beats);
    dialog.SetList(m_data.tempos);
    if (dialog.exec() != QDialog::Accepted)
        return;
    m_data.tempos = dialog.GetList();
    LoadFields();
}

void CProjectDialog::OnBeatList() {
    m_data = GetProjectData();
    CBeatListDialog dialog(this);
    dialog.SetList(m_data.beats);
    if (dialog.exec() != QDialog::Accepted)
        return;
    m_data.beats = dialog.GetList();
    LoadFields();
}

void CProjectDialog::OnLoop() {
    m_data = GetProjectData();
    CLoopDialog dialog(this);
    dialog.SetBeats(&m_data.beats);
    dialog.SetLoopEnabled(m_data.loopEnabled != 0);
    dialog.SetLoopStart(m_data.loopStart);
    dialog.SetLoopEnd(m_data.loopEnd);
    if (dialog.exec() != QDialog::Accepted)
        return;
    m_data.loopEnabled = dialog.IsLoopEnabled() ? 1 : 0;
    m_data.loopStart = dialog.GetLoopStart();
    m_data.loopEnd = dialog.GetLoopEnd();
}
