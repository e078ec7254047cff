#pragma once
// "書き出し": what to export (the whole song, each unmuted track, or the endless loop with
// its passes and fade-out), the file format with its quality (MP3: its bit rate), and the
// target folder.
// Values in by setters and out by the request; the folder chooser is the only outside call.
//
// Thread: the user-interface thread.

#include "app/CExporter.h"

#include <QDialog>

class QComboBox;
class QLineEdit;
class QPushButton;
class QSpinBox;

class CAudioExportDialog : public QDialog {
    Q_OBJECT
public:
    enum What { kSong, kStems, kLoop, kRange };

    // The loop is offered only when the song has one.
    CAudioExportDialog(bool songHasLoop, QWidget* parent = nullptr);

    void SetFolder(const QString& folder);
    // The MP3 bit rate the list opens at: the encoder's stored one.
    void SetBitRate(int kilobits);
    // The selected notes' ticks [start, end); an empty range offers no range export.
    void SetRange(int32_t start, int32_t end);
    EXPORT_REQUEST Request() const;

    QComboBox* WhatList() const { return m_what; }
    QComboBox* FormatList() const { return m_format; }
    QSpinBox* QualityBox() const { return m_quality; }
    QComboBox* BitRateList() const { return m_bitRate; }
    QSpinBox* PassesBox() const { return m_passes; }
    QSpinBox* FadeBox() const { return m_fade; }
    QLineEdit* FolderEdit() const { return m_folder; }
    QPushButton* OkButton() const { return m_ok; }

private:
    What Chosen() const;
    SoundFileKind Kind() const;
    void Update();
    void ChooseFolder();

    QComboBox* m_what;
    QComboBox* m_format;
    QSpinBox* m_quality;
    QComboBox* m_bitRate;
    QSpinBox* m_passes;
    QSpinBox* m_fade;
    QLineEdit* m_folder;
    QPushButton* m_ok;
    int32_t m_rangeStart = 0;
    int32_t m_rangeEnd = 0;
};
