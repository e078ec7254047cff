#pragma once
// The player program's one window: a fixed dialog with a seek bar, open/play/pause/stop and
// loop buttons, a volume bar and the file's name and length. It drives a Sonalo player; the
// visible state follows it: stopped (play shown, timer off) or playing (pause shown, the
// seek bar following the position every 50 ms).
//
// Keys act before the controls see them: L loop, O open, P/F5/media play-pause play or
// pause, S/F6/media stop stop. Escape never closes the window, and Enter only presses the
// button that has the focus.

#include "audio/Sonalo.h"

#include <QDialog>
#include <QTimer>

class CSeekBar;
class QLabel;
class QPushButton;
class QSlider;

class CSonaloDlg : public QDialog {
    Q_OBJECT
public:
    // pathToLoad: the file named on the command line, loaded (not played) when shown.
    explicit CSonaloDlg(const QString& pathToLoad = {}, QWidget* parent = nullptr);
    ~CSonaloDlg() override;

    // Stops and opens a file: true when it loaded. On failure the display is emptied.
    bool LoadFile(const QString& path);

    const Sonalo& Player() const { return m_player; }

public slots:
    void OnOpen();
    void OnPlay();
    void OnPause();
    void OnStop();
    void OnLoop();
    void OnAbout();

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void CreateControls();
    void ShowPlaying(bool playing);
    void OnTimer();
    void Post(void (CSonaloDlg::*command)());

    CSeekBar* m_seekBar = nullptr;
    QPushButton* m_open = nullptr;
    QPushButton* m_play = nullptr;
    QPushButton* m_pause = nullptr;
    QPushButton* m_stop = nullptr;
    QPushButton* m_loop = nullptr;
    QSlider* m_volume = nullptr;
    QLabel* m_fileText = nullptr;
    QTimer m_timer;
    Sonalo m_player;
    QString m_pathToLoad;
};
