#pragma once
// A small dialog for a track's name and sound source, used to add a track and to edit its
// properties while the full track properties dialog is not part of the editor. Works on a
// copy of the track's settings.

#include "model/CTrackData.h"

#include <QDialog>

class QComboBox;
class QLineEdit;

class CTrackNameDialog : public QDialog {
    Q_OBJECT
public:
    CTrackNameDialog(const QString& title, QWidget* parent = nullptr);

    void SetTrackData(const CTrackData& data);
    // The copy with the name and the source kind of the form.
    CTrackData GetTrackData() const;

private:
    void StabilizeForm();

    CTrackData m_data;
    QLineEdit* m_name;
    QComboBox* m_waveform;
    QWidget* m_ok = nullptr;
};
