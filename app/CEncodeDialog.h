#pragma once
// "エンコード オプション": the choice of encoder module and bit rate. The encoder list holds
// the loaded modules; without any it holds "エンコーダが見つかりません" and neither the list
// nor OK can be used. OK stores both choices through the CEncode it was given.
//
// Thread: the user-interface thread.

#include <QDialog>

class CEncode;
class QComboBox;
class QPushButton;

class CEncodeDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int kBitRates[] = {64, 80, 96, 128, 160, 192, 256, 320};

    CEncodeDialog(CEncode& encode, QWidget* parent = nullptr);
    ~CEncodeDialog() override;

    QComboBox* EncoderList() const { return m_encoders; }
    QComboBox* BitRateList() const { return m_bitRates; }
    QPushButton* OkButton() const { return m_ok; }

    void accept() override;

private:
    void FillEncoders();
    void FillBitRates();

    CEncode& m_encode;
    QComboBox* m_encoders;
    QComboBox* m_bitRates;
    QPushButton* m_ok = nullptr;
};
