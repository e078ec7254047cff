#include "app/CEncodeDialog.h"

#include "audio/CEncode.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QPushButton>
#include <QVBoxLayout>

CEncodeDialog::CEncodeDialog(CEncode& encode, QWidget* parent)
    : QDialog(parent), m_encode(encode), m_encoders(new QComboBox(this)),
      m_bitRates(new QComboBox(this)) {
    setWindowTitle(QCoreApplication::translate("CEncodeDialog", "エンコード オプション"));
    auto* form = new QFormLayout;
    form->addRow(QCoreApplication::translate("CEncodeDialog", "エンコーダ(&E):"), m_encoders);
    form->addRow(QCoreApplication::translate("CEncodeDialog", "ビットレート(&B):"), m_bitRates);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_ok = buttons->button(QDialogButtonBox::Ok);
    buttons->button(QDialogButtonBox::Cancel)
        ->setText(QCoreApplication::translate("CEncodeDialog", "キャンセル"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    FillEncoders();
    FillBitRates();
}

CEncodeDialog::~CEncodeDialog() = default;

void CEncodeDialog::FillEncoders() {
    if (m_encode.IsGogoLoaded())
        m_encoders->addItem(tr("午後のこ～だ gogo.dll (*.mp3)"), int(CEncode::kGogo));
    if (m_encode.IsLameLoaded())
        m_encoders->addItem(QStringLiteral("LAME lame_enc.dll (*.mp3)"), int(CEncode::kLame));
    if (m_encoders->count() == 0) {
        m_encoders->addItem(tr("エンコーダが見つかりません"), int(CEncode::kNone));
        m_encoders->setEnabled(false);
        m_ok->setEnabled(false);
    }
    const int index = m_encoders->findData(m_encode.EncoderChoice());
    m_encoders->setCurrentIndex(index < 0 ? 0 : index);
}

// The list opens at the stored rate, so OK without a change keeps it.
void CEncodeDialog::FillBitRates() {
    for (const int rate : kBitRates)
        m_bitRates->addItem(QString::number(rate), rate);
    const int index = m_bitRates->findData(m_encode.BitRate());
    m_bitRates->setCurrentIndex(index < 0 ? m_bitRates->findData(CEncode::kDefaultBitRate) : index);
}

void CEncodeDialog::accept() {
    if (!m_ok->isEnabled())
        return;
    m_encode.SaveChoice(m_encoders->currentData().toInt(), m_bitRates->currentData().toInt());
    QDialog::accept();
}
