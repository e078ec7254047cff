#include "player/CSonaloDlg.h"

#include "player/CAboutDlg.h"
#include "player/SonaloIcons.h"
#include "ui/widgets/CSeekBar.h"

#include <QContextMenuEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QSlider>

namespace {

// Dialog units of the window's layout (243 × 63) in pixels of the window's font.
class DialogUnits {
public:
    explicit DialogUnits(const QFontMetrics& fm)
        : m_x(fm.horizontalAdvance(
                  QStringLiteral("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ")) /
              52.0),
          m_y(fm.height()) {}
    QRect Rect(int x, int y, int w, int h) const {
        return QRect(X(x), Y(y), X(x + w) - X(x), Y(y + h) - Y(y));
    }
    QSize Size(int w, int h) const { return QSize(X(w), Y(h)); }

private:
    int X(int u) const { return int(u * m_x / 4.0 + 0.5); }
    int Y(int u) const { return int(u * m_y / 8.0 + 0.5); }
    double m_x;
    double m_y;
};

QPushButton* IconButton(QWidget* parent, const char* name, const QString& icon,
                        const QString& tip) {
    auto* button = new QPushButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setIcon(SonaloIcon(icon));
    button->setIconSize(QSize(16, 16));
    button->setToolTip(tip);
    // The button shows a picture only; a screen reader reads the tip as its name.
    button->setAccessibleName(tip);
    // Enter is handled by the window, for the focused button only.
    button->setAutoDefault(false);
    return button;
}

} // namespace

CSonaloDlg::CSonaloDlg(const QString& pathToLoad, QWidget* parent)
    : QDialog(parent), m_pathToLoad(pathToLoad) {
    setWindowTitle(QStringLiteral("TSQ Sonalo"));
    setWindowIcon(SonaloIcon(QStringLiteral("sonalo")));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setAttribute(Qt::WA_AlwaysShowToolTips);
    setAcceptDrops(true);
    CreateControls();
    m_timer.setInterval(50);
    connect(&m_timer, &QTimer::timeout, this, &CSonaloDlg::OnTimer);
}

CSonaloDlg::~CSonaloDlg() = default;

void CSonaloDlg::CreateControls() {
    const DialogUnits du(fontMetrics());
    setFixedSize(du.Size(243, 63));

    m_seekBar = new CSeekBar(this);
    m_seekBar->setObjectName(QStringLiteral("seekBar"));
    m_seekBar->setTickPosition(QSlider::TicksAbove);
    m_seekBar->setRange(0, 0);
    m_seekBar->setGeometry(du.Rect(5, 5, 235, 25));
    connect(m_seekBar, &CSeekBar::scrolled, this, [this](int v, CSeekBar::ScrollCode code) {
        if (code != CSeekBar::ScrollCode::EndTrack) {
            m_player.Seek(v / 1000.0);
        }
    });

    m_open = IconButton(this, "openButton", QStringLiteral("open"), tr("開く"));
    m_play = IconButton(this, "playButton", QStringLiteral("play"), tr("再生"));
    m_pause = IconButton(this, "pauseButton", QStringLiteral("pause"), tr("一時停止"));
    m_stop = IconButton(this, "stopButton", QStringLiteral("stop"), tr("停止"));
    m_loop = IconButton(this, "loopButton", QStringLiteral("loop"), tr("ループ"));
    m_loop->setCheckable(true);
    m_open->setGeometry(du.Rect(5, 35, 20, 20));
    m_play->setGeometry(du.Rect(30, 35, 20, 20));
    m_pause->setGeometry(du.Rect(30, 35, 20, 20));
    m_pause->hide();
    m_stop->setGeometry(du.Rect(50, 35, 20, 20));
    m_loop->setGeometry(du.Rect(75, 35, 20, 20));
    connect(m_open, &QPushButton::clicked, this, &CSonaloDlg::OnOpen);
    connect(m_play, &QPushButton::clicked, this, &CSonaloDlg::OnPlay);
    connect(m_pause, &QPushButton::clicked, this, &CSonaloDlg::OnPause);
    connect(m_stop, &QPushButton::clicked, this, &CSonaloDlg::OnStop);
    connect(m_loop, &QPushButton::clicked, this, &CSonaloDlg::OnLoop);

    m_volume = new QSlider(Qt::Horizontal, this);
    m_volume->setObjectName(QStringLiteral("volumeBar"));
    m_volume->setRange(0, 100);
    m_volume->setTickPosition(QSlider::TicksAbove);
    m_volume->setTickInterval(50);
    m_volume->setToolTip(tr("音量"));
    m_volume->setGeometry(du.Rect(100, 31, 45, 25));
    connect(m_volume, &QSlider::valueChanged, this,
            [this](int v) { m_player.SetVolume(v / 100.0); });
    m_volume->setValue(100);

    m_fileText = new QLabel(this);
    m_fileText->setObjectName(QStringLiteral("fileText"));
    m_fileText->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    m_fileText->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_fileText->setGeometry(du.Rect(150, 35, 90, 20));
}

void CSonaloDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!m_pathToLoad.isEmpty()) {
        LoadFile(std::exchange(m_pathToLoad, QString()));
    }
}

bool CSonaloDlg::LoadFile(const QString& path) {
    m_seekBar->ClearTics();
    if (!m_player.Open(path, 0.0, 0.0)) {
        m_seekBar->setRange(0, 0);
        m_seekBar->setValue(0);
        m_fileText->clear();
        return false;
    }
    const double length = m_player.GetLength();
    m_seekBar->setRange(0, int(length * 1000.0));
    m_seekBar->setValue(0);
    if (m_player.HasLoop()) {
        m_seekBar->SetTic(int(m_player.GetLoopStart() * 1000.0));
        m_seekBar->SetTic(int(m_player.GetLoopEnd() * 1000.0));
    }
    const int seconds = int(length);
    m_fileText->setText(QStringLiteral("%1\n%2:%3")
                            .arg(QFileInfo(path).fileName())
                            .arg(seconds / 60)
                            .arg(seconds % 60, 2, 10, QLatin1Char('0')));
    return true;
}

void CSonaloDlg::OnOpen() {
    const QString path = QFileDialog::getOpenFileName(
        this, QString(), QString(), tr("Wave ファイル (*.wav);;すべてのファイル (*)"));
    if (!path.isEmpty()) {
        OnStop();
        LoadFile(path);
    }
}

void CSonaloDlg::OnPlay() {
    if (m_player.Play()) {
        ShowPlaying(true);
        m_timer.start();
    }
}

void CSonaloDlg::OnPause() {
    if (!m_player.IsOpen()) {
        return;
    }
    m_player.Pause();
    ShowPlaying(false);
    m_timer.stop();
}

void CSonaloDlg::OnStop() {
    if (!m_player.IsOpen()) {
        return;
    }
    m_player.Stop();
    m_seekBar->setValue(int(m_player.GetPosition() * 1000.0));
    ShowPlaying(false);
    m_timer.stop();
}

void CSonaloDlg::OnLoop() {
    m_player.SetLoop(m_loop->isChecked());
}

void CSonaloDlg::OnAbout() {
    CAboutDlg about(this);
    about.exec();
}

void CSonaloDlg::OnTimer() {
    // The user's drag owns the thumb until it ends.
    if (!m_seekBar->isSliderDown()) {
        m_seekBar->setValue(int(m_player.GetPosition() * 1000.0));
    }
    if (!m_player.IsPlaying()) {
        OnStop();
    }
}

void CSonaloDlg::ShowPlaying(bool playing) {
    QPushButton* shown = playing ? m_pause : m_play;
    QPushButton* hidden = playing ? m_play : m_pause;
    const bool hadFocus = hidden->hasFocus();
    shown->show();
    if (hadFocus) {
        shown->setFocus();
    }
    hidden->hide();
}

void CSonaloDlg::Post(void (CSonaloDlg::*command)()) {
    QMetaObject::invokeMethod(this, command, Qt::QueuedConnection);
}

void CSonaloDlg::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Escape:
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (auto* button = qobject_cast<QPushButton*>(focusWidget())) {
            QMetaObject::invokeMethod(button, &QPushButton::click, Qt::QueuedConnection);
        }
        break;
    case Qt::Key_L:
        m_loop->toggle();
        Post(&CSonaloDlg::OnLoop);
        break;
    case Qt::Key_O:
        Post(&CSonaloDlg::OnOpen);
        break;
    case Qt::Key_P:
    case Qt::Key_F5:
    case Qt::Key_MediaPlay:
    case Qt::Key_MediaTogglePlayPause:
        if (!m_play->isHidden()) {
            Post(&CSonaloDlg::OnPlay);
        } else if (!m_pause->isHidden()) {
            Post(&CSonaloDlg::OnPause);
        }
        break;
    case Qt::Key_S:
    case Qt::Key_F6:
    case Qt::Key_MediaStop:
        Post(&CSonaloDlg::OnStop);
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}

void CSonaloDlg::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    menu.addAction(tr("バージョン情報(&A)..."), this, &CSonaloDlg::OnAbout);
    menu.exec(event->globalPos());
}

void CSonaloDlg::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) {
        event->acceptProposedAction();
    }
}

void CSonaloDlg::dropEvent(QDropEvent* event) {
    for (const QUrl& url : event->mimeData()->urls()) {
        OnStop();
        if (LoadFile(url.toLocalFile())) {
            break;
        }
    }
    event->acceptProposedAction();
}
