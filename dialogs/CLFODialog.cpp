#include "dialogs/CLFODialog.h"

#include "dialogs/CNumberEdit.h"
#include "dialogs/CTrackDialog.h"
#include "dialogs/internal/DialogUtil.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int32_t kMaxDelay = 10000; // ms, either way
constexpr int32_t kMaxTime = 10000;  // ms

CNumberEdit* MakeNumber(QWidget* parent, const QString& name, int64_t minimum, int64_t maximum) {
    auto* edit = new CNumberEdit(parent);
    edit->setObjectName(name);
    edit->SetRange(minimum, maximum);
    return edit;
}

} // namespace

QGroupBox* CLFODialog::Group::Build(QWidget* parent, const QString& title, const char* prefix,
                                    int32_t maxDepth) {
    const auto name = [prefix](const char* field) {
        return QLatin1String(prefix) + QLatin1String(field);
    };
    auto* group = new QGroupBox(title, parent);
    waveform = new QComboBox(group);
    waveform->setObjectName(name("Waveform"));
    CTrackDialog::AddSourceKinds(waveform, kSine + 1);
    invert = new QCheckBox(QCoreApplication::translate("CLFODialog", "反転(&R)"), group);
    invert->setObjectName(name("Invert"));
    delay = MakeNumber(group, name("Delay"), -kMaxDelay, kMaxDelay);
    fade = MakeNumber(group, name("Fade"), 0, kMaxTime);
    period = MakeNumber(group, name("Period"), 0, kMaxTime);
    depth = MakeNumber(group, name("Depth"), 0, maxDepth);
    reset = new QPushButton(QCoreApplication::translate("CLFODialog", "リセット"), group);
    reset->setObjectName(name("Reset"));
    reset->setAutoDefault(false);

    auto* grid = new QGridLayout(group);
    grid->addWidget(
        dlg::MakeLabel(QCoreApplication::translate("CLFODialog", "波形(&W):"), waveform, group), 0,
        0);
    grid->addWidget(waveform, 0, 1, 1, 2);
    grid->addWidget(invert, 0, 3);
    int row = 1;
    const auto addRow = [&](const QString& text, CNumberEdit* field, const QString& unit) {
        grid->addWidget(dlg::MakeLabel(text, field, group), row, 0);
        grid->addWidget(field, row, 1);
        if (!unit.isEmpty())
            grid->addWidget(new QLabel(unit, group), row, 2);
        ++row;
    };
    const QString ms = QStringLiteral("ms");
    addRow(QCoreApplication::translate("CLFODialog", "ディレイ(&D):"), delay, ms);
    addRow(QCoreApplication::translate("CLFODialog", "フェード(&F):"), fade, ms);
    addRow(QCoreApplication::translate("CLFODialog", "1周期の時間(&E):"), period, ms);
    addRow(QCoreApplication::translate("CLFODialog", "深度(&P):"), depth, {});
    grid->addWidget(reset, row - 1, 3, Qt::AlignRight | Qt::AlignBottom);
    grid->setColumnStretch(2, 1);
    return group;
}

void CLFODialog::Group::Load(const CLFO& lfo) {
    waveform->setCurrentIndex(std::clamp(lfo.waveform, 0, int32_t(kSine)));
    invert->setChecked(lfo.invert != 0);
    delay->SetValue(lfo.delay);
    fade->SetValue(lfo.fade);
    period->SetValue(lfo.period);
    depth->SetValue(lfo.depth);
}

void CLFODialog::Group::Store(CLFO& lfo) const {
    lfo.waveform = std::max(waveform->currentIndex(), 0);
    lfo.invert = invert->isChecked() ? 1 : 0;
    lfo.delay = static_cast<int32_t>(delay->Value());
    lfo.fade = static_cast<int32_t>(fade->Value());
    lfo.period = static_cast<int32_t>(period->Value());
    lfo.depth = static_cast<int32_t>(depth->Value());
}

void CLFODialog::Ui::setupUi(QDialog* dialog) {
    dialog->setWindowTitle(QStringLiteral("LFO"));
    auto* layout = new QVBoxLayout(dialog);
    layout->addWidget(pitch.Build(
        dialog,
        QCoreApplication::translate("CLFODialog", "LFO ピッチ (音程に対するビブラート効果)"),
        "pitch", kMaxPitchDepth));
    layout->addWidget(amp.Build(
        dialog,
        QCoreApplication::translate("CLFODialog", "LFO アンプ (音量に対するビブラート効果)"), "amp",
        kMaxAmpDepth));
    buttonBox = dlg::MakeButtonBox(dialog);
    layout->addWidget(buttonBox);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

CLFODialog::CLFODialog(QWidget* parent) : QDialog(parent) {
    m_ui.setupUi(this);
    // A new LFO's values are the reset values.
    connect(m_ui.pitch.reset, &QPushButton::clicked, this, [this] { m_ui.pitch.Load(CLFO{}); });
    connect(m_ui.amp.reset, &QPushButton::clicked, this, [this] { m_ui.amp.Load(CLFO{}); });
    SetLFOs(m_pitch, m_amp);
}

void CLFODialog::SetLFOs(const CLFO& pitch, const CLFO& amp) {
    m_pitch = pitch;
    m_amp = amp;
    m_ui.pitch.Load(m_pitch);
    m_ui.amp.Load(m_amp);
}

CLFO CLFODialog::GetPitchLFO() const {
    CLFO lfo = m_pitch;
    m_ui.pitch.Store(lfo);
    return lfo;
}

CLFO CLFODialog::GetAmpLFO() const {
    CLFO lfo = m_amp;
    m_ui.amp.Store(lfo);
    return lfo;
}
