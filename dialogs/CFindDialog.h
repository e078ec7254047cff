#pragma once
// "検索": the criteria of a note search. Each of the five rows (position, length, key-off,
// key, volume) has a switch and a range; "検索" needs at least one switch on. The ranges
// come back in order (see OrderedFindData).

#include "model/FindData.h"

#include <QDialog>

class CBeats;
class CNumberEdit;
class CPositionEdit;
class QCheckBox;
class QComboBox;
class QDialogButtonBox;
class QGridLayout;
class QSettings;

class CFindDialog : public QDialog {
    Q_OBJECT
public:
    explicit CFindDialog(QWidget* parent = nullptr);

    // The song's signatures, for the measure:tick text; must outlive the dialog. Set it
    // before the criteria so that positions show in the song's measures.
    void SetBeats(const CBeats* beats);
    // Where the criteria are kept between runs (group "FindData"): they are loaded now and
    // stored back when the user presses "検索". May be null; must outlive the dialog.
    void SetStore(QSettings* settings);
    void SetFindData(const FIND_DATA& data);
    // The criteria with each range in order.
    FIND_DATA GetFindData() const;

    void accept() override;

private:
    void StabilizeForm();

    struct Ui {
        QCheckBox* pos = nullptr;
        CPositionEdit* posStart = nullptr;
        CPositionEdit* posEnd = nullptr;
        QCheckBox* length = nullptr;
        CNumberEdit* lengthStart = nullptr;
        CNumberEdit* lengthEnd = nullptr;
        QCheckBox* keyoff = nullptr;
        CNumberEdit* keyoffStart = nullptr;
        CNumberEdit* keyoffEnd = nullptr;
        QCheckBox* key = nullptr;
        QComboBox* keyStart = nullptr;
        QComboBox* keyEnd = nullptr;
        QCheckBox* volume = nullptr;
        CNumberEdit* volumeStart = nullptr;
        CNumberEdit* volumeEnd = nullptr;
        QDialogButtonBox* buttonBox = nullptr;
        void setupUi(QDialog* dialog);
    } m_ui;
    QSettings* m_pStore = nullptr;
};
