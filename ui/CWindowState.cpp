#include "ui/CWindowState.h"

#include <QEvent>
#include <QGuiApplication>
#include <QMainWindow>
#include <QScreen>
#include <QSettings>
#include <QSplitter>

#include <algorithm>

namespace {

constexpr const char* kSection = "Window State";
constexpr int kMinWidth = 200;
constexpr int kMinHeight = 150;
constexpr int kMaxExtent = 32767;

int ReadInt(QSettings& settings, const char* key, int current) {
    bool ok = false;
    const int value = settings.value(key, current).toInt(&ok);
    return ok ? value : current;
}

} // namespace

CWindowState::CWindowState(QMainWindow& window, QSplitter& splitter, PaneAccess pianoRoll,
                           int trackWidth)
    : QObject(&window), m_window(window), m_splitter(splitter), m_pianoRoll(std::move(pianoRoll)),
      m_normal(window.geometry()), m_maximizedRect(window.geometry()) {
    m_window.installEventFilter(this);
    m_splitter.installEventFilter(this);
    // What the user sets by hand wins over a width still waiting for room.
    connect(&m_splitter, &QSplitter::splitterMoved, this, [this] { m_pendingTrackWidth.reset(); });
    SetTrackWidth(trackWidth);
}

void CWindowState::SetTrackWidth(int width) {
    if (width < 1)
        return;
    m_pendingTrackWidth = width;
    ApplyTrackWidth();
}

// Runs before the splitter shares out a new width itself, which then keeps the sizes set
// here: the track list does not stretch, the piano roll takes the rest.
void CWindowState::ApplyTrackWidth() {
    if (!m_pendingTrackWidth || m_splitter.count() != 2)
        return;
    const QWidget* pianoRoll = m_splitter.widget(1);
    const int pianoMinimum =
        std::max({pianoRoll->minimumWidth(), pianoRoll->minimumSizeHint().width(), 1});
    const int total = m_splitter.width() - m_splitter.handleWidth();
    const int width = *m_pendingTrackWidth;
    if (total - width < pianoMinimum)
        return;
    m_splitter.setSizes({width, total - width});
    m_pendingTrackWidth.reset();
}

bool CWindowState::IsFullScreen() const {
    return m_window.windowState() & Qt::WindowFullScreen;
}

bool CWindowState::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &m_splitter) {
        if (event->type() == QEvent::Resize)
            ApplyTrackWidth();
        return false;
    }
    if (watched != &m_window || IsFullScreen())
        return false;
    const Qt::WindowStates state = m_window.windowState();
    if (event->type() == QEvent::Resize && !(state & Qt::WindowMinimized)) {
        if (state & Qt::WindowMaximized)
            m_maximizedRect = m_window.geometry();
        else
            m_normal = m_window.geometry();
        m_maximized = state & Qt::WindowMaximized;
    } else if (event->type() == QEvent::Move &&
               !(state & (Qt::WindowMinimized | Qt::WindowMaximized))) {
        m_normal = m_window.geometry();
    }
    return false;
}

void CWindowState::ToggleFullScreen() {
    if (IsFullScreen())
        LeaveFullScreen();
    else
        EnterFullScreen();
}

void CWindowState::EnterFullScreen() {
    m_window.setWindowState(m_window.windowState() | Qt::WindowFullScreen);
    if (!m_window.isVisible())
        m_window.show();
    emit fullScreenChanged(true);
}

void CWindowState::LeaveFullScreen() {
    if (m_maximized) {
        m_window.setWindowState((m_window.windowState() & ~Qt::WindowFullScreen) |
                                Qt::WindowMaximized);
    } else {
        m_window.setWindowState(m_window.windowState() &
                                ~(Qt::WindowFullScreen | Qt::WindowMaximized));
        m_window.setGeometry(m_normal);
    }
    emit fullScreenChanged(false);
}

void CWindowState::Save(QSettings& settings) const {
    settings.beginGroup(kSection);
    settings.setValue("Left", m_normal.left());
    settings.setValue("Top", m_normal.top());
    settings.setValue("Right", m_normal.left() + m_normal.width());
    settings.setValue("Bottom", m_normal.top() + m_normal.height());
    settings.setValue("Maximized", m_maximized ? 1 : 0);
    settings.setValue("Fullscreen", IsFullScreen() ? 1 : 0);
    settings.setValue("TrackWndWidth", TrackWidth());
    settings.setValue("PianoRollWndVScroll", m_pianoRoll.verticalScroll());
    settings.endGroup();
}

void CWindowState::Restore(QSettings& settings) {
    settings.beginGroup(kSection);
    const QRect current = m_window.geometry();
    const int left = ReadInt(settings, "Left", current.left());
    const int top = ReadInt(settings, "Top", current.top());
    const int right = ReadInt(settings, "Right", current.left() + current.width());
    const int bottom = ReadInt(settings, "Bottom", current.top() + current.height());
    const bool maximized = ReadInt(settings, "Maximized", 0) != 0;
    const bool fullScreen = ReadInt(settings, "Fullscreen", 0) != 0;
    const int trackWidth = ReadInt(settings, "TrackWndWidth", TrackWidth());
    const int vscroll = ReadInt(settings, "PianoRollWndVScroll", m_pianoRoll.verticalScroll());
    settings.endGroup();

    const QRect stored(QPoint(left, top), QSize(right - left, bottom - top));
    if (Plausible(stored))
        m_window.setGeometry(stored);
    m_normal = m_window.geometry();
    if (maximized)
        m_window.showMaximized();
    else
        m_window.show();
    m_maximized = maximized;
    if (fullScreen)
        EnterFullScreen();
    // A width no screen could show would wait for room for ever.
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen != nullptr && trackWidth <= screen->virtualGeometry().width())
        SetTrackWidth(trackWidth);
    m_pianoRoll.setVerticalScroll(vscroll);
}

int CWindowState::TrackWidth() const {
    if (m_pendingTrackWidth)
        return *m_pendingTrackWidth;
    const QList<int> sizes = m_splitter.sizes();
    return sizes.isEmpty() ? 0 : sizes.first();
}

// A stored rectangle is used only when it has a usable size and lies at least partly on a
// screen that is there now.
bool CWindowState::Plausible(const QRect& rect) const {
    if (rect.width() < kMinWidth || rect.height() < kMinHeight || rect.width() > kMaxExtent ||
        rect.height() > kMaxExtent)
        return false;
    for (const QScreen* screen : QGuiApplication::screens())
        if (screen->availableGeometry().intersects(rect))
            return true;
    return false;
}
