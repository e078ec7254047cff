#include "dialogs/CTrackDialog.h"

#include "common/SourceKinds.h"

#include "dialogs/CEnvelopeWnd.h"
#include "dialogs/CLFODialog.h"
#include "dialogs/CNumberEdit.h"
#include "dialogs/SoundDialogs.h"
#include "dialogs/internal/DialogUtil.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSlider>
#include <QSvgRenderer>
#include <QVBoxLayout>

#include <algorithm>
#include <array>
#include <utility>

// The resources live in a static library, so they have to be registered by hand.
static void InitDialogIcons() {
    static const bool done = [] {
        Q_INIT_RESOURCE(dialogs);
        return true;
    }();
    (void)done;
}

namespace {

constexpr int32_t kMaxDuty = 256;
constexpr int32_t kMaxDelay = 10000;    // ms, either way
constexpr int32_t kMaxRate = 10000;     // ms
constexpr int32_t kMaxSustain = 100000; // ms
constexpr int kMaxPreviewSeconds = 10;
constexpr int kIconSize = 20;

constexpr std::array<const char*, kSourceKindCount> kSourceIcons = {
    ":/tsq/wave-square.svg", ":/tsq/wave-triangle.svg", ":/tsq/wave-sawtooth.svg",
    ":/tsq/wave-sine.svg",   ":/tsq/wave-noise.svg",    ":/tsq/wave-pcm.svg",
    ":/tsq/wave-memory.svg", ":/tsq/wave-fm.svg",
};

CNumberEdit* MakeNumber(QWidget* parent, const char* name, int64_t minimum, int64_t maximum) {
    auto* edit = new CNumberEdit(parent);
    edit->setObjectName(QLatin1String(name));
    edit->SetRange(minimum, maximum);
    return edit;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& text) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    return button;
}

QComboBox* MakeDutyList(QWidget* parent) {
    auto* duty = new QComboBox(parent);
    duty->setObjectName(QStringLiteral("duty"));
    duty->addItems({"-192", "-128", "0", "128"});
    duty->setEditable(true);
    duty->setInsertPolicy(QComboBox::NoInsert);
    // Completing "-1" to "-192" would turn a typed number into another one.
    duty->setCompleter(nullptr);
    duty->lineEdit()->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("-?[0-9]{0,6}")), duty->lineEdit()));
    return duty;
}

// The duty ratio a typed text stands for, clamped; `fallback` when it holds no number.
int32_t DutyFromText(const QString& text, int32_t fallback) {
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    return ok ? std::clamp(value, -kMaxDuty, kMaxDuty) : fallback;
}

} // namespace

QIcon CTrackDialog::SourceKindIcon(int kind) {
    if (kind < 0 || kind > kFm)
        return {};
    InitDialogIcons();
    QSvgRenderer renderer(QLatin1String(kSourceIcons[size_t(kind)]));
    QIcon icon;
    for (const int size : {16, kIconSize, 32, 2 * kIconSize}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        renderer.render(&painter, QRectF(0, 0, size, size));
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

void CTrackDialog::AddSourceKinds(QComboBox* list, int count) {
    list->setIconSize(QSize(kIconSize, kIconSize));
    for (int kind = 0; kind < std::min(count, kSourceKindCount); ++kind)
        list->addItem(SourceKindIcon(kind), SourceKindName(kind));
}

QWidget* CTrackDialog::Ui::TrackFields(QWidget* parent) {
    auto* fields = new QWidget(parent);
    name = new QLineEdit(fields);
    name->setObjectName(QStringLiteral("name"));
    useNoteColor =
        new QCheckBox(QCoreApplication::translate("CTrackDialog", "音符の色(&C):"), fields);
    useNoteColor->setObjectName(QStringLiteral("useNoteColor"));
    noteColor = new CColorButton(fields);
    noteColor->setObjectName(QStringLiteral("noteColor"));
    noteColor->setAccessibleName(dlg::PlainCaption(useNoteColor->text()));
    noteColor->setAutoDefault(false);

    auto* grid = new QGridLayout(fields);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(
        dlg::MakeLabel(QCoreApplication::translate("CTrackDialog", "名前(&N):"), name, fields), 0,
        0);
    grid->addWidget(name, 0, 1, 1, 2);
    grid->addWidget(useNoteColor, 1, 0);
    grid->addWidget(noteColor, 1, 1);
    grid->setColumnStretch(2, 1);
    return fields;
}

QGroupBox* CTrackDialog::Ui::SourceGroup(QWidget* parent) {
    auto* group = new QGroupBox(QCoreApplication::translate("CTrackDialog", "音源"), parent);
    waveform = new QComboBox(group);
    waveform->setObjectName(QStringLiteral("waveform"));
    AddSourceKinds(waveform);
    invert = new QCheckBox(QCoreApplication::translate("CTrackDialog", "反転(&R)"), group);
    invert->setObjectName(QStringLiteral("invert"));
    pseudoWave = MakeNumber(group, "pseudoWave", 0, 256);
    duty = MakeDutyList(group);
    dutyLabel = dlg::MakeLabel(QCoreApplication::translate("CTrackDialog", "デューティー比(&Y):"),
                               duty, group);
    volume = MakeNumber(group, "volume", 0, 1023);
    detune = MakeNumber(group, "detune", -256, 256);
    pan = MakeNumber(group, "pan", -255, 255);
    lfo = MakeButton(group, "lfo", QStringLiteral("LFO..."));
    sound = MakeButton(group, "sound", QCoreApplication::translate("CTrackDialog", "音色(&O)..."));
    loadPreset = MakeButton(group, "loadPreset", CTrackDialog::tr("音色を読み込む(&I)…"));
    savePreset = MakeButton(group, "savePreset", CTrackDialog::tr("音色を保存(&S)…"));
    loadPreset->hide();
    savePreset->hide();

    auto* grid = new QGridLayout(group);
    grid->addWidget(
        dlg::MakeLabel(QCoreApplication::translate("CTrackDialog", "波形(&W):"), waveform, group),
        0, 0);
    grid->addWidget(waveform, 0, 1, 1, 2);
    grid->addWidget(invert, 1, 1, 1, 2);
    int row = 2;
    const auto addRow = [&](QLabel* label, QWidget* field) {
        grid->addWidget(label, row, 0);
        grid->addWidget(field, row, 1);
        ++row;
    };
    addRow(dlg::MakeLabel(QCoreApplication::translate("CTrackDialog", "擬似波(&U):"), pseudoWave,
                          group),
           pseudoWave);
    addRow(dutyLabel, duty);
    addRow(dlg::MakeLabel(QCoreApplication::translate("CTrackDialog", "音量(&V):"), volume, group),
           volume);
    addRow(dlg::MakeLabel(QCoreApplication::translate("CTrackDialog", "デチューン(&E):"), detune,
                          group),
           detune);
    addRow(dlg::MakeLabel(QCoreApplication::translate("CTrackDialog", "パン(&P):"), pan, group),
           pan);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(lfo);
    buttons->addWidget(sound);
    grid->setRowStretch(row, 1);
    grid->addLayout(buttons, row + 1, 0, 1, 3);
    auto* presets = new QHBoxLayout;
    presets->addStretch(1);
    presets->addWidget(loadPreset);
    presets->addWidget(savePreset);
    grid->addLayout(presets, row + 2, 0, 1, 3);
    grid->setColumnStretch(2, 1);
    return group;
}

QGroupBox* CTrackDialog::Ui::EnvelopeGroup(QWidget* parent) {
    auto* group =
        new QGroupBox(QCoreApplication::translate("CTrackDialog", "エンベロープ"), parent);
    curve = new QComboBox(group);
    curve->setObjectName(QStringLiteral("curve"));
    curve->addItems({QCoreApplication::translate("CTrackDialog", "直線"),
                     QCoreApplication::translate("CTrackDialog", "曲線1"),
                     QCoreApplication::translate("CTrackDialog", "曲線2")});
    delay = MakeNumber(group, "delay", -kMaxDelay, kMaxDelay);
    attack = MakeNumber(group, "attack", 0, kMaxRate);
    decay = MakeNumber(group, "decay", 0, kMaxRate);
    sustain = MakeNumber(group, "sustain", -1, kMaxSustain);
    release = MakeNumber(group, "release", -1, kMaxRate);
    attackLevel = MakeNumber(group, "attackLevel", 0, 255);
    sustainLevel = MakeNumber(group, "sustainLevel", 0, 255);
    keyScaling = MakeNumber(group, "keyScaling", 0, 16);
    preview = new CEnvelopeWnd(group);
    preview->setObjectName(QStringLiteral("preview"));
    previewSpan = new QSlider(Qt::Horizontal, group);
    previewSpan->setObjectName(QStringLiteral("previewSpan"));
    previewSpan->setRange(1, kMaxPreviewSeconds);
    previewSpan->setPageStep(1);
    previewSpan->setTickPosition(QSlider::TicksBelow);
    previewSeconds = new QLabel(group);
    previewSeconds->setMinimumWidth(previewSeconds->fontMetrics().horizontalAdvance(
        QCoreApplication::translate("CTrackDialog", "10 秒")));

    auto* grid = new QGridLayout(group);
    const auto add = [&](const QString& text, QWidget* field, int row, int column, bool ms) {
        grid->addWidget(dlg::MakeLabel(text, field, group), row, column);
        grid->addWidget(field, row, column + 1);
        if (ms)
            grid->addWidget(new QLabel(QStringLiteral("ms"), group), row, column + 2);
    };
    add(QCoreApplication::translate("CTrackDialog", "エンベロープタイプ:"), curve, 0, 0, false);
    grid->addWidget(
        new QLabel(QCoreApplication::translate("CTrackDialog", "（プレビューは変化しません）"),
                   group),
        0, 2, 1, 3);
    add(QCoreApplication::translate("CTrackDialog", "ディレイ:"), delay, 1, 0, true);
    add(QCoreApplication::translate("CTrackDialog", "アタックレート:"), attack, 2, 0, true);
    add(QCoreApplication::translate("CTrackDialog", "ディケイレート:"), decay, 3, 0, true);
    add(QCoreApplication::translate("CTrackDialog", "サスティンレート:"), sustain, 4, 0, true);
    add(QCoreApplication::translate("CTrackDialog", "リリースレート:"), release, 5, 0, true);
    add(QCoreApplication::translate("CTrackDialog", "アタックレベル:"), attackLevel, 1, 3, false);
    add(QCoreApplication::translate("CTrackDialog", "サスティンレベル:"), sustainLevel, 2, 3,
        false);
    add(QCoreApplication::translate("CTrackDialog", "キースケーリング:"), keyScaling, 3, 3, false);
    grid->addWidget(preview, 6, 0, 1, 5);
    grid->setRowStretch(6, 1);
    auto* span = new QHBoxLayout;
    span->addWidget(dlg::MakeLabel(QCoreApplication::translate("CTrackDialog", "プレビュー"),
                                   previewSpan, group));
    span->addWidget(previewSpan, 1);
    span->addWidget(previewSeconds);
    grid->addLayout(span, 7, 0, 1, 5);
    return group;
}

void CTrackDialog::Ui::setupUi(QDialog* dialog, const QString& title) {
    dialog->setWindowTitle(title);
    auto* left = new QVBoxLayout;
    left->addWidget(TrackFields(dialog));
    left->addWidget(SourceGroup(dialog), 1);
    auto* columns = new QHBoxLayout;
    columns->addLayout(left);
    columns->addWidget(EnvelopeGroup(dialog), 1);
    auto* layout = new QVBoxLayout(dialog);
    layout->addLayout(columns);
    buttonBox = dlg::MakeButtonBox(dialog);
    layout->addWidget(buttonBox);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

CTrackDialog::CTrackDialog(const QString& title, QWidget* parent)
    : QDialog(parent), m_soundEditor(DefaultSoundEditor()) {
    m_ui.setupUi(this, title);
    m_ui.noteColor->SetCustomColors(SoundDialogServices().customColors);
    m_ui.preview->SetEnvelope(&m_data.envelope);
    ConnectFields();
    m_ui.duty->installEventFilter(this);
    OnPreviewSpan();
    LoadFields();
}

// Hiding moves the focus out of a box, whose commit writes into the working copy: that has
// to happen while the copy still exists.
CTrackDialog::~CTrackDialog() {
    hide();
}

void CTrackDialog::ConnectFields() {
    connect(m_ui.name, &QLineEdit::textChanged, this, &CTrackDialog::StabilizeForm);
    connect(m_ui.useNoteColor, &QCheckBox::toggled, this, &CTrackDialog::StabilizeForm);
    connect(m_ui.waveform, &QComboBox::currentIndexChanged, this, [this](int index) {
        m_data.waveform = std::max(index, 0);
        StabilizeForm();
    });
    connect(m_ui.duty, &QComboBox::activated, this, &CTrackDialog::CommitDuty);
    for (CNumberEdit* field : {m_ui.delay, m_ui.attack, m_ui.decay, m_ui.sustain, m_ui.release,
                               m_ui.attackLevel, m_ui.sustainLevel, m_ui.keyScaling}) {
        connect(field, &CNumberEdit::ValueEdited, this, &CTrackDialog::OnEnvelopeEdited);
        connect(field, &CNumberEdit::Committed, this, &CTrackDialog::OnEnvelopeEdited);
    }
    connect(m_ui.previewSpan, &QSlider::valueChanged, this, &CTrackDialog::OnPreviewSpan);
    connect(m_ui.lfo, &QPushButton::clicked, this, &CTrackDialog::OnLFO);
    connect(m_ui.sound, &QPushButton::clicked, this, &CTrackDialog::OnSound);
    connect(m_ui.loadPreset, &QPushButton::clicked, this, &CTrackDialog::OnLoadPreset);
    connect(m_ui.savePreset, &QPushButton::clicked, this, [this] {
        if (m_presets.save)
            m_presets.save(this, GetTrackData());
    });
}

void CTrackDialog::SetTrackData(const CTrackData& data) {
    m_data = data;
    LoadFields();
    m_ui.name->selectAll();
}

CTrackData CTrackDialog::GetTrackData() const {
    CTrackData data = m_data;
    StoreFields(data);
    return data;
}

void CTrackDialog::SetCustomColors(CColorButton::CustomColors* colors) {
    m_ui.noteColor->SetCustomColors(colors);
}

void CTrackDialog::SetSoundEditor(SoundEditor editor) {
    m_soundEditor = std::move(editor);
}

void CTrackDialog::SetPresetActions(PresetActions actions) {
    m_presets = std::move(actions);
    m_ui.loadPreset->setVisible(bool(m_presets.load));
    m_ui.savePreset->setVisible(bool(m_presets.save));
}

void CTrackDialog::LoadFields() {
    m_ui.name->setText(QString::fromStdString(m_data.name));
    m_ui.useNoteColor->setChecked(m_data.useNoteColor != 0);
    m_ui.noteColor->SetColor(m_data.noteColor);
    {
        // The list shows the kind; it must not write a clamped kind back into the copy.
        const QSignalBlocker blocker(m_ui.waveform);
        m_ui.waveform->setCurrentIndex(std::clamp(m_data.waveform, int32_t(kSquare), int32_t(kFm)));
    }
    m_ui.invert->setChecked(m_data.invert != 0);
    m_ui.pseudoWave->SetValue(m_data.pseudoWave);
    m_ui.duty->setEditText(QString::number(std::clamp(m_data.duty, -kMaxDuty, kMaxDuty)));
    m_ui.volume->SetValue(m_data.volume);
    m_ui.detune->SetValue(m_data.detune);
    m_ui.pan->SetValue(m_data.pan);
    const CEnvelope& envelope = m_data.envelope;
    m_ui.curve->setCurrentIndex(std::clamp(envelope.curve, 0, 2));
    m_ui.delay->SetValue(envelope.delay);
    m_ui.attack->SetValue(envelope.attack);
    m_ui.decay->SetValue(envelope.decay);
    m_ui.sustain->SetValue(envelope.sustain);
    m_ui.release->SetValue(envelope.release);
    m_ui.attackLevel->SetValue(envelope.attackLevel);
    m_ui.sustainLevel->SetValue(envelope.sustainLevel);
    m_ui.keyScaling->SetValue(envelope.keyScaling);
    OnEnvelopeEdited();
    StabilizeForm();
}

void CTrackDialog::StoreFields(CTrackData& data) const {
    data.name = m_ui.name->text().toStdString();
    data.useNoteColor = m_ui.useNoteColor->isChecked() ? 1 : 0;
    data.noteColor = m_ui.noteColor->GetColor();
    data.waveform = std::max(m_ui.waveform->currentIndex(), 0);
    data.invert = m_ui.invert->isChecked() ? 1 : 0;
    data.pseudoWave = static_cast<int32_t>(m_ui.pseudoWave->Value());
    data.duty =
        DutyFromText(m_ui.duty->currentText(), std::clamp(m_data.duty, -kMaxDuty, kMaxDuty));
    data.volume = static_cast<int32_t>(m_ui.volume->Value());
    data.detune = static_cast<int32_t>(m_ui.detune->Value());
    data.pan = static_cast<int32_t>(m_ui.pan->Value());
    StoreEnvelope(data.envelope);
}

void CTrackDialog::StoreEnvelope(CEnvelope& envelope) const {
    envelope.curve = std::max(m_ui.curve->currentIndex(), 0);
    envelope.delay = static_cast<int32_t>(m_ui.delay->Value());
    envelope.attack = static_cast<int32_t>(m_ui.attack->Value());
    envelope.decay = static_cast<int32_t>(m_ui.decay->Value());
    envelope.sustain = static_cast<int32_t>(m_ui.sustain->Value());
    envelope.release = static_cast<int32_t>(m_ui.release->Value());
    envelope.attackLevel = static_cast<int32_t>(m_ui.attackLevel->Value());
    envelope.sustainLevel = static_cast<int32_t>(m_ui.sustainLevel->Value());
    envelope.keyScaling = static_cast<int32_t>(m_ui.keyScaling->Value());
}

void CTrackDialog::CommitDuty() {
    m_data.duty =
        DutyFromText(m_ui.duty->currentText(), std::clamp(m_data.duty, -kMaxDuty, kMaxDuty));
    m_ui.duty->setEditText(QString::number(m_data.duty));
}

bool CTrackDialog::eventFilter(QObject* watched, QEvent* event) {
    // The list is the line's focus proxy, so the focus leaves the list, not the line.
    if (watched == m_ui.duty && event->type() == QEvent::FocusOut)
        CommitDuty();
    return QDialog::eventFilter(watched, event);
}

// The preview shows the working copy's envelope, so the copy follows every edit at once.
void CTrackDialog::OnEnvelopeEdited() {
    StoreEnvelope(m_data.envelope);
    m_ui.preview->Redraw();
}

void CTrackDialog::OnPreviewSpan() {
    const int seconds = m_ui.previewSpan->value();
    m_ui.previewSeconds->setText(tr("%1 秒").arg(seconds));
    m_ui.preview->SetSpan(seconds * 1000);
}

void CTrackDialog::OnLFO() {
    m_data = GetTrackData();
    CLFODialog dialog(this);
    dialog.SetLFOs(m_data.pitchLFO, m_data.ampLFO);
    if (dialog.exec() != QDialog::Accepted)
        return;
    m_data.pitchLFO = dialog.GetPitchLFO();
    m_data.ampLFO = dialog.GetAmpLFO();
}

void CTrackDialog::OnSound() {
    if (!m_soundEditor)
        return;
    m_data = GetTrackData();
    CTrackData copy = m_data;
    if (!m_soundEditor(this, copy))
        return;
    m_data = std::move(copy);
    LoadFields();
}

// The preset lands in the working copy, so OK takes it into the song as one step with
// whatever else was edited, and Cancel drops it.
void CTrackDialog::OnLoadPreset() {
    if (!m_presets.load)
        return;
    CTrackData copy = GetTrackData();
    if (!m_presets.load(this, copy))
        return;
    m_data = std::move(copy);
    LoadFields();
}

void CTrackDialog::StabilizeForm() {
    const int kind = m_ui.waveform->currentIndex();
    m_ui.sound->setEnabled(kind == kPcm || kind == kWaveMemory || kind == kFm);
    m_ui.dutyLabel->setEnabled(kind == kSquare);
    m_ui.duty->setEnabled(kind == kSquare);
    m_ui.noteColor->setEnabled(m_ui.useNoteColor->isChecked());
    m_ui.buttonBox->button(QDialogButtonBox::Ok)->setEnabled(!m_ui.name->text().isEmpty());
}
