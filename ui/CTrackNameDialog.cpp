#include "ui/CTrackNameDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const char* const kWaveformNames[] = {"矩形波", "三角波", "のこぎり波", "正弦波",
                                      "ノイズ", "PCM",    "波形メモリ", "FM 音源"};

} // namespace

CTrackNameDialog::CTrackNameDialog(const QString& title, QWidget* parent)
    : QDialog(parent), m_name(new QLineEdit(this)), m_waveform(new QComboBox(this)) {
    setWindowTitle(title);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    for (const char* name : kWaveformNames)
        m_waveform->addItem(QString::fromUtf8(name));
    m_name->setMinimumWidth(m_name->fontMetrics().horizontalAdvance(QString(20, QChar(0x3042))));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("名前(&N):"), m_name);
    form->addRow(QStringLiteral("音源(&W):"), m_waveform);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_ok = buttons->button(QDialogButtonBox::Ok);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_name, &QLineEdit::textChanged, this, &CTrackNameDialog::StabilizeForm);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

void CTrackNameDialog::SetTrackData(const CTrackData& data) {
    m_data = data;
    m_name->setText(QString::fromStdString(data.name));
    m_name->selectAll();
    m_waveform->setCurrentIndex(std::clamp<int>(data.waveform, kSquare, kFm));
    StabilizeForm();
}

CTrackData CTrackNameDialog::GetTrackData() const {
    CTrackData data = m_data;
    data.name = m_name->text().toStdString();
    data.waveform = m_waveform->currentIndex();
    return data;
}

void CTrackNameDialog::StabilizeForm() {
    m_ok->setEnabled(!m_name->text().trimmed().isEmpty());
}
