#pragma once
// The item dialog of the tempo and volume lists ("テンポ", "音量"): a position and one value
// of the song's timeline. The caller sets the caption ("…の追加", "…の編集"). For the
// song's first entry the position is fixed at 0.

#include <QDialog>

#include <cstdint>

class CBeats;
class CPositionEdit;
class QDialogButtonBox;
class QFormLayout;
class QLabel;

class CTimelineItemDialog : public QDialog {
    Q_OBJECT
public:
    // The song's signatures, for the measure:tick text; must outlive the dialog.
    void SetBeats(const CBeats* beats);
    void SetFirst(bool first);

protected:
    // Makes the position row. The subclass then makes its value box (a child of the dialog)
    // and hands it to AddValueRow, once, so that the focus moves from the position to the
    // value and on to the buttons.
    CTimelineItemDialog(const QString& title, QWidget* parent);
    void AddValueRow(const QString& label, QWidget* value);

    // 0 for the first entry, whatever is shown.
    void SetPosition(int32_t position);
    int32_t Position() const;

private:
    void StabilizeForm();

    struct Ui {
        QLabel* positionLabel = nullptr;
        CPositionEdit* position = nullptr;
        QFormLayout* form = nullptr;
        QDialogButtonBox* buttonBox = nullptr;
    } m_ui;
    bool m_first = false;
};
